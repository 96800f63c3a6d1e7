// Where the program is installed and where installed data lives on this platform. One
// implementation per platform (install_places_posix.cpp, install_places_windows.cpp,
// install_places_web.cpp).
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

// The folder of the running executable; nothing when the system cannot tell.
std::optional<std::filesystem::path> executableFolder();

// The folders of installed data to search for the soundtrack: the XDG data folders and Debian's
// folder for a game's data on Linux; none on Windows, where it goes beside the program.
std::vector<std::filesystem::path> installedDataFolders();
