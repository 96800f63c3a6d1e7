// Making the end-to-end tests' soundtracks, whole and broken.
#include "test_soundtracks.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "child_process.h"

namespace {

std::string dataPath(const std::string& name) {
    return std::string(OMBRA_TEST_DATA) + "/" + name;
}

// Test programs run side by side: each makes a file under a name of its own and renames it into
// place, so nobody reads a half-written file.
std::string makeOnce(const std::string& name, const std::string& commandWritingTo) {
    const std::string path = dataPath(name);
    if (!std::filesystem::exists(path)) {
        const std::string temp = path + ".part" + std::to_string(getpid());
        const std::string command = "(" + commandWritingTo + " " + temp + " && mv " + temp + " " +
                                    path + ") >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "could not make " << name;
    }
    return path;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void placeNothing(const std::string&) {}

void placeEmptyFile(const std::string& path) {
    writeBytes(path, "");
}

// The first 40% of a 5 s MP3's bytes.
void placeTruncatedMp3(const std::string& path) {
    const std::string whole = readFile(toneMp3(5));
    ASSERT_GT(whole.size(), 10000u);
    writeBytes(path, whole.substr(0, whole.size() * 2 / 5));
}

void placeRandomBytes(const std::string& path) {
    std::mt19937 generator(31337);
    std::string noise(64 * 1024, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(generator());
    }
    writeBytes(path, noise);
}

void placeRenamedWav(const std::string& path) {
    const std::string wav =
        makeOnce("tone-2s.wav", "sox -n -r 44100 -c 2 -t wav - synth 2 sine 440 >");
    std::filesystem::copy_file(wav, path);
}

void placeDirectory(const std::string& path) {
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
}

} // namespace

std::string toneMp3(int seconds) {
    return makeOnce("tone-" + std::to_string(seconds) + "s-44100-2ch-e2e.mp3",
                    "sox -n -r 44100 -c 2 -t wav - synth " + std::to_string(seconds) +
                        " sine 440 | lame --quiet -");
}

const std::vector<BrokenSoundtrack>& brokenSoundtracks() {
    static const std::vector<BrokenSoundtrack> kinds = {
        {"Missing", placeNothing, false},       {"Empty", placeEmptyFile, false},
        {"Truncated", placeTruncatedMp3, true}, {"RandomBytes", placeRandomBytes, false},
        {"RenamedWav", placeRenamedWav, false}, {"Directory", placeDirectory, false},
    };
    return kinds;
}
