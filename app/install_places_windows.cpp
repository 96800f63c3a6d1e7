// The executable's folder from GetModuleFileNameW; no data folders besides it on Windows.
#include "app/install_places.h"

#include <string>

#include <windows.h>

std::optional<std::filesystem::path> executableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), DWORD(name.size()));
        if (length == 0) {
            return std::nullopt;
        }
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2); // cut short: try again with more room
    }
}

std::vector<std::filesystem::path> installedDataFolders() {
    return {};
}
