// The whole production through the renderer at 10 fps (frame times not whole ticks): every frame
// logged in its phase, the end right after the last, every eighth frame's pixels as recorded in
// frame_hashes.txt (a change meant to alter them updates it and says why), same seed same bytes.
#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"
#include "tools/capture/production_length.h"

namespace {

constexpr int framesPerSecond = 10;

TEST(WholeProduction, EveryFrameFallsInItsPhaseAndEveryEighthShowsThePixelsRecordedForIt) {
    const std::uint64_t lastFrame = productionFrames(framesPerSecond) - 1;
    std::vector<std::uint64_t> listed;
    std::string list;
    for (std::uint64_t frame = 0; frame < lastFrame + 8; frame += 8) {
        listed.push_back(std::min(frame, lastFrame));
        list += (list.empty() ? "" : ",") + std::to_string(listed.back());
    }
    TempFolder folder;
    const ProcessResult render =
        runCapture({"--out", "new/frames", "--fps", std::to_string(framesPerSecond), "--seed", "1",
                    "--frames", list, "--quiet"},
                   folder.path());
    ASSERT_EQ(render.exitCode, 0) << render.err;

    const FrameCsv csv = readFrameCsv(folder / "new/frames/frames.csv");
    EXPECT_EQ(csv.header, "frame,time,scene,phase,scene_time,render_ms");
    EXPECT_EQ(csv.badLines, std::vector<std::string>{});
    ASSERT_EQ(csv.rows.size(), lastFrame + 1);
    for (const ProductionPhase& phase : productionPhases(framesPerSecond)) {
        for (auto frame = phase.firstFrame; frame < phase.firstFrame + phase.frames; ++frame) {
            ASSERT_EQ(csv.rows[frame].scene, phase.scene) << "frame " << frame;
            ASSERT_EQ(csv.rows[frame].phase, phase.outro ? "outro" : "play") << "frame " << frame;
        }
    }

    // Scene 1's dissolve, whose particles fly at random, from the same seed again.
    const ProcessResult again = runCapture(
        {"--out", "again", "--seed", "1", "--fps", "10", "--frames", "64"}, folder.path());
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(filesIn(folder / "again"), (std::set<std::string>{"frame_000064.png", "frames.csv"}));
    EXPECT_TRUE(readFile(folder / "again/frame_000064.png") ==
                readFile(folder / "new/frames/frame_000064.png"));

    const std::map<std::uint64_t, std::uint64_t> recorded = recordedFrameHashes();
    EXPECT_EQ(recorded.size(), listed.size()) << "frame_hashes.txt does not list these frames";
    for (const std::uint64_t frame : listed) {
        const std::uint64_t hash =
            pixelHash(readPng(folder / "new/frames/" + frameFile(frame)).rows);
        EXPECT_TRUE(recorded.count(frame) && recorded.at(frame) == hash)
            << "frame " << frame << " (" << frame / double(framesPerSecond) << " s) changed; it now"
            << " hashes to " << frame << ' ' << std::hex << hash;
    }
}

// A machine whose driver stops at OpenGL 2.1 and GLSL 1.20, without vertex array objects: no core
// context is asked for (GLUT would end the program), and the shaders' 1.20 texts draw the same
// pictures, for a frame in the middle of every phase.
TEST(WholeProduction, AnOpenGl21DriverShowsThePixelsRecordedForEveryPhase) {
    std::string list;
    std::vector<std::uint64_t> listed;
    for (const ProductionPhase& phase : productionPhases(framesPerSecond)) {
        const std::uint64_t middle = (phase.firstFrame + phase.frames / 2) / 8 * 8;
        if (listed.empty() || listed.back() != middle) {
            listed.push_back(middle);
            list += (list.empty() ? "" : ",") + std::to_string(middle);
        }
    }
    TempFolder folder;
    const ProcessResult render =
        runCapture({"--out", "old", "--fps", std::to_string(framesPerSecond), "--seed", "1",
                    "--frames", list, "--quiet"},
                   folder.path(),
                   {"MESA_GL_VERSION_OVERRIDE=2.1", "MESA_GLSL_VERSION_OVERRIDE=120",
                    "MESA_EXTENSION_OVERRIDE=-GL_ARB_vertex_array_object"});
    ASSERT_EQ(render.exitCode, 0) << render.out << render.err;
    const std::map<std::uint64_t, std::uint64_t> recorded = recordedFrameHashes();
    for (const std::uint64_t frame : listed) {
        ASSERT_TRUE(recorded.count(frame)) << frame;
        EXPECT_EQ(pixelHash(readPng(folder / "old/" + frameFile(frame)).rows), recorded.at(frame))
            << "frame " << frame;
    }
}

} // namespace
