// Where the programs look for the soundtrack when none is named on the command line, and what
// they say when it is nowhere.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The soundtrack's file name in every folder searched.
constexpr const char* soundtrackName = "Ombra.mp3";

// The folders of installed data, best first: $XDG_DATA_HOME/ombra (by default
// $HOME/.local/share/ombra), each of $XDG_DATA_DIRS/ombra (by default /usr/local/share and
// /usr/share), then /usr/share/games/ombra. Unset or empty variables take their defaults; a
// relative folder in them is ignored, as the XDG base directory rules say. Null means unset.
std::vector<std::filesystem::path> dataFolders(const char* xdgDataHome, const char* home,
                                               const char* xdgDataDirs);

// The folders searched in order: the working directory (an empty path, so that the file found
// there keeps its plain name), the executable's folder where known, then the data folders.
std::vector<std::filesystem::path>
soundtrackFolders(const std::optional<std::filesystem::path>& executableFolder,
                  const std::vector<std::filesystem::path>& data);

struct SoundtrackSearch {
    std::optional<std::filesystem::path> file;   // the soundtrack to play, if any
    std::vector<std::filesystem::path> lookedIn; // every folder looked in, in order
};

// A soundtrack named on the command line is taken as it is, found or not, so that a mistyped name
// is reported rather than replaced. Otherwise the first folder holding an Ombra.mp3 that is not a
// folder gives it.
SoundtrackSearch findSoundtrack(const std::optional<std::string>& chosen,
                                const std::vector<std::filesystem::path>& folders);

// The search the programs make: the chosen file, else the working directory, the executable's
// folder and this platform's data folders.
SoundtrackSearch findInstalledSoundtrack(const std::optional<std::string>& chosen);

// "Ombra.mp3 is in none of: the working directory, /opt/ombra, ...", for a search that found none.
std::string notFoundText(const SoundtrackSearch& search);
