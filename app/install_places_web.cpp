// Install places in the browser: the program lives in no folder and nothing is installed, so the
// soundtrack is looked for in the working directory alone, where the page puts Ombra.mp3.
#include "app/install_places.h"

std::optional<std::filesystem::path> executableFolder() {
    return std::nullopt;
}

std::vector<std::filesystem::path> installedDataFolders() {
    return {};
}
