// Searching the folders for the soundtrack, first one wins.
#include "app/soundtrack_search.h"

#include <sstream>

#include "app/install_places.h"

namespace fs = std::filesystem;

namespace {

// A variable counts when set and not empty.
const char* given(const char* variable) {
    return variable && *variable ? variable : nullptr;
}

// A data home counts when it is an absolute folder; otherwise the default stands in.
bool absolute(const char* folder) {
    return given(folder) && fs::path(folder).is_absolute();
}

} // namespace

std::vector<fs::path> dataFolders(const char* xdgDataHome, const char* home,
                                  const char* xdgDataDirs) {
    std::vector<fs::path> bases;
    if (absolute(xdgDataHome)) {
        bases.emplace_back(xdgDataHome);
    } else if (given(home)) {
        bases.push_back(fs::path(home) / ".local/share");
    }
    std::istringstream dirs(given(xdgDataDirs) ? xdgDataDirs : "/usr/local/share:/usr/share");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        bases.emplace_back(dir);
    }
    std::vector<fs::path> folders;
    for (const fs::path& base : bases) {
        if (base.is_absolute()) {
            folders.push_back(base / "ombra");
        }
    }
    folders.emplace_back("/usr/share/games/ombra");
    return folders;
}

std::vector<fs::path> soundtrackFolders(const std::optional<fs::path>& executableFolder,
                                        const std::vector<fs::path>& data) {
    std::vector<fs::path> folders{fs::path()};
    if (executableFolder) {
        folders.push_back(*executableFolder);
    }
    folders.insert(folders.end(), data.begin(), data.end());
    return folders;
}

SoundtrackSearch findSoundtrack(const std::optional<std::string>& chosen,
                                const std::vector<fs::path>& folders) {
    SoundtrackSearch search;
    if (chosen) {
        search.file = *chosen;
        return search;
    }
    for (const fs::path& folder : folders) {
        search.lookedIn.push_back(folder);
        const fs::path file = folder / soundtrackName;
        std::error_code error;
        if (fs::exists(file, error) && !fs::is_directory(file, error)) {
            search.file = file;
            return search;
        }
    }
    return search;
}

SoundtrackSearch findInstalledSoundtrack(const std::optional<std::string>& chosen) {
    return findSoundtrack(chosen, soundtrackFolders(executableFolder(), installedDataFolders()));
}

std::string notFoundText(const SoundtrackSearch& search) {
    std::string text = std::string(soundtrackName) + " is in none of: ";
    for (std::size_t i = 0; i < search.lookedIn.size(); ++i) {
        const fs::path& folder = search.lookedIn[i];
        text += (i > 0 ? ", " : "") + (folder.empty() ? "the working directory" : folder.string());
    }
    return text;
}
