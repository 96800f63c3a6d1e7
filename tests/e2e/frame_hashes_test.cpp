// The production's pictures against those it showed when they were last checked: every eighth
// frame of a render at 10 fps with seed 1, hashed, against hashes recorded then in
// frame_hashes.txt. Any changed pixel in those frames shows here. After a change that is meant
// to alter the pictures, run this test with OMBRA_RECORD_FRAME_HASHES=1 to rewrite the file,
// and say in the commit why the pictures changed.
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"
#include "tools/capture/production_length.h"

namespace {

constexpr int framesPerSecond = 10;
constexpr int frameStep = 8;
const std::string hashFile = std::string(OMBRA_SOURCE_DIR) + "/tests/e2e/frame_hashes.txt";

// 64-bit FNV-1a of the decoded pixels, which do not depend on how the PNG was compressed.
std::uint64_t pixelHash(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

std::map<std::uint64_t, std::uint64_t> readHashes(const std::string& path) {
    std::map<std::uint64_t, std::uint64_t> hashes;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        std::istringstream pairs(line.substr(0, line.find('#')));
        std::uint64_t frame = 0, hash = 0;
        while (pairs >> std::dec >> frame >> std::hex >> hash) {
            hashes[frame] = hash;
        }
    }
    return hashes;
}

TEST(FrameHashes, EveryEighthFrameAt10FpsShowsThePixelsRecordedForIt) {
    const std::uint64_t lastFrame = productionFrames(framesPerSecond) - 1;
    std::string frames;
    std::vector<std::uint64_t> listed;
    for (std::uint64_t frame = 0; frame <= lastFrame; frame += frameStep) {
        listed.push_back(frame);
    }
    if (listed.back() != lastFrame) {
        listed.push_back(lastFrame);
    }
    for (const std::uint64_t frame : listed) {
        frames += (frames.empty() ? "" : ",") + std::to_string(frame);
    }
    TempFolder folder;
    const ProcessResult render =
        runCapture({"--out", "frames", "--fps", std::to_string(framesPerSecond), "--seed", "1",
                    "--frames", frames, "--quiet"},
                   folder.path());
    ASSERT_EQ(render.exitCode, 0) << render.err;

    std::map<std::uint64_t, std::uint64_t> shown;
    for (const std::uint64_t frame : listed) {
        char name[32];
        std::snprintf(name, sizeof name, "frames/frame_%06llu.png",
                      static_cast<unsigned long long>(frame));
        shown[frame] = pixelHash(readPng(folder / name).rows);
    }
    if (std::getenv("OMBRA_RECORD_FRAME_HASHES")) {
        std::ofstream file(hashFile);
        file << "# Frame, and the 64-bit FNV-1a hash of its RGB pixels top row first; four a "
                "line.\n";
        int column = 0;
        for (const auto& [frame, hash] : shown) {
            file << frame << ' ' << std::hex << hash << std::dec << (++column % 4 ? "  " : "\n");
        }
        file << '\n';
        GTEST_SKIP() << "recorded " << shown.size() << " hashes in " << hashFile;
    }
    const std::map<std::uint64_t, std::uint64_t> recorded = readHashes(hashFile);
    ASSERT_EQ(recorded.size(), shown.size()) << hashFile << " does not list these frames";
    for (const auto& [frame, hash] : shown) {
        EXPECT_EQ(recorded.count(frame) ? recorded.at(frame) : 0, hash)
            << "frame " << frame << " (" << frame / double(framesPerSecond) << " s) changed";
    }
}

} // namespace
