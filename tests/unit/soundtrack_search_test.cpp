// Where the programs find Ombra.mp3, on a scratch tree of folders, and the XDG folders they search.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <unistd.h>

#include "app/soundtrack_search.h"

namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

// A scratch folder with the five places of a search below it, removed at the end.
struct ScratchTree {
    ScratchTree() {
        std::string name = (fs::temp_directory_path() / "soundtrack-search-XXXXXX").string();
        root = mkdtemp(name.data());
        for (const char* place : {"work", "bin", "home-data", "share-a", "share-b"}) {
            fs::create_directory(root / place);
            places.push_back(root / place);
        }
    }
    ~ScratchTree() { fs::remove_all(root); }
    void put(const fs::path& folder) const { std::ofstream(folder / "Ombra.mp3") << "mp3"; }

    fs::path root;
    Paths places;
};

TEST(SoundtrackSearch, TakesTheFirstPlaceHoldingTheFileAndNamesEveryPlaceLookedIn) {
    const ScratchTree tree;
    const Paths& places = tree.places;
    tree.put(places[3]);
    tree.put(places[4]);
    fs::create_directory(places[1] / "Ombra.mp3"); // a folder of that name is no soundtrack
    SoundtrackSearch found = findSoundtrack(std::nullopt, places);
    EXPECT_EQ(found.file, places[3] / "Ombra.mp3");
    EXPECT_EQ(found.lookedIn, Paths(places.begin(), places.begin() + 4));

    tree.put(places[2]);
    EXPECT_EQ(findSoundtrack(std::nullopt, places).file, places[2] / "Ombra.mp3");
    tree.put(places[0]);
    EXPECT_EQ(findSoundtrack(std::nullopt, places).file, places[0] / "Ombra.mp3");

    // A file named on the command line is taken as it is, even where it is missing.
    found = findSoundtrack("missing.mp3", places);
    EXPECT_EQ(found.file, fs::path("missing.mp3"));
    EXPECT_TRUE(found.lookedIn.empty());
}

TEST(SoundtrackSearch, FindsNoneAndSaysWhereItLookedWithTheWorkingDirectoryByItsPlainName) {
    const ScratchTree tree;
    const fs::path before = fs::current_path();
    fs::current_path(tree.places[0]);
    const Paths folders = soundtrackFolders(tree.places[1], {tree.places[2], "/nowhere/ombra"});
    SoundtrackSearch search = findSoundtrack(std::nullopt, folders);
    EXPECT_FALSE(search.file);
    EXPECT_EQ(notFoundText(search), "Ombra.mp3 is in none of: the working directory, " +
                                        tree.places[1].string() + ", " + tree.places[2].string() +
                                        ", /nowhere/ombra");
    tree.put(tree.places[0]);
    search = findSoundtrack(std::nullopt, folders);
    fs::current_path(before);
    EXPECT_EQ(search.file, fs::path("Ombra.mp3"));
    EXPECT_EQ(soundtrackFolders(std::nullopt, {"/d"}), (Paths{"", "/d"}));
}

TEST(SoundtrackSearch, DataFoldersFollowTheXdgVariablesWithTheirDefaultsThenDebiansGamesFolder) {
    const struct {
        const char *dataHome, *home, *dataDirs;
        Paths folders;
    } cases[] = {
        {nullptr,
         "/home/u",
         nullptr,
         {"/home/u/.local/share/ombra", "/usr/local/share/ombra", "/usr/share/ombra"}},
        {"",
         "/home/u",
         "",
         {"/home/u/.local/share/ombra", "/usr/local/share/ombra", "/usr/share/ombra"}},
        {"/x", "/home/u", "/a:/b/", {"/x/ombra", "/a/ombra", "/b/ombra"}},
        // Relative folders are ignored: XDG_DATA_HOME's then takes its default.
        {"x", "/home/u", "a::/b:", {"/home/u/.local/share/ombra", "/b/ombra"}},
        {nullptr, nullptr, "/a", {"/a/ombra"}},
    };
    for (const auto& [dataHome, home, dataDirs, folders] : cases) {
        Paths expected = folders;
        expected.emplace_back("/usr/share/games/ombra");
        EXPECT_EQ(dataFolders(dataHome, home, dataDirs), expected)
            << (dataHome ? dataHome : "unset") << " " << (home ? home : "unset") << " "
            << (dataDirs ? dataDirs : "unset");
    }
}

} // namespace
