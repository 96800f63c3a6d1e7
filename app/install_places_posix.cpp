// The executable's folder from /proc/self/exe; the data folders from the XDG variables.
#include "app/install_places.h"

#include <cstdlib>
#include <system_error>

#include "app/soundtrack_search.h"

std::optional<std::filesystem::path> executableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::nullopt;
    }
    return self.parent_path();
}

std::vector<std::filesystem::path> installedDataFolders() {
    return dataFolders(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                       std::getenv("XDG_DATA_DIRS"));
}
