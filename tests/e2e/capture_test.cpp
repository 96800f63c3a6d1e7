// The offline renderer end to end: its command line, and the pictures and frames.csv it writes.
#include <fstream>

#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"

namespace {

TEST(CaptureCommandLine, HelpNamesEveryOptionAndBadArgumentsOrPlacesFailBeforeRendering) {
    TempFolder folder;
    const ProcessResult help = runCapture({"--help"}, folder.path());
    EXPECT_EQ(help.exitCode, 0);
    for (const char* text :
         {"--out", "--fps", "--frames", "--seed", "--video", "--quiet", "ffmpeg", "Ombra.mp3"}) {
        EXPECT_NE(help.out.find(text), std::string::npos) << "usage does not mention " << text;
    }

    const std::string plainFile = folder / "plain-file";
    std::ofstream(plainFile) << "not a folder";
    const std::string noFolder = folder / "no such folder/v.mp4";
    // The arguments, then what the message names.
    const std::vector<std::vector<std::string>> cases = {
        {"--out", "o", "--bogus", "--bogus"},
        {"--out", "o", "extra", "extra"},
        {"--out", "o", "--fps", "0", "--fps"},
        {"--out", "o", "--frames", "5-3", "5-3"},
        {"--out", "o", "--seed", "4294967296", "--seed"},
        {"--frames", "0", "--out"},
        {"--video", "", "--video"},
        {"--video", "v.mp4", "--quiet=yes", "--quiet"},
        {"--out", plainFile, "--frames", "0", plainFile},
        {"--video", noFolder, "--frames", "0-9", noFolder}};
    for (std::vector<std::string> args : cases) {
        const std::string named = args.back();
        args.pop_back();
        SCOPED_TRACE("arguments: " + testing::PrintToString(args));
        const ProcessResult result = runCapture(args, folder.path());
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.exitCode, -1) << "ended by a signal or hung";
        EXPECT_NE(result.err.find(named), std::string::npos) << "stderr: " << result.err;
        EXPECT_EQ(result.out, "") << "it started playing";
        EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{"plain-file"});
    }
    EXPECT_EQ(readFile(plainFile), "not a folder");
}

// Scene 1's outro, whose particles fly at random, begins with frame 349.
TEST(CaptureFiles, WritesTheListedFramesTheSameForTheSameSeedAndLogsEveryFrameUpToTheLast) {
    TempFolder folder;
    const std::set<std::string> written{"frame_000000.png", "frame_000349.png", "frame_000352.png",
                                        "frames.csv"};
    for (const char* out : {"new/nested", "again"}) {
        const ProcessResult result =
            runCapture({"--out", out, "--seed", "1234", "--frames", "352,0,349"}, folder.path());
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(filesIn(folder / out), written);
    }
    for (const std::string name : {"frame_000000.png", "frame_000349.png", "frame_000352.png"}) {
        EXPECT_TRUE(readPng(folder / "new/nested/" + name).is640x480Rgb)
            << name << " is not a 640x480 RGB picture";
        EXPECT_TRUE(readFile(folder / "new/nested/" + name) == readFile(folder / "again/" + name))
            << name << " differs between two runs with the same seed";
    }

    const FrameCsv csv = readFrameCsv(folder / "new/nested/frames.csv");
    EXPECT_EQ(csv.header, "frame,time,scene,phase,scene_time,render_ms");
    EXPECT_EQ(csv.badLines, std::vector<std::string>{});
    ASSERT_EQ(csv.rows.size(), 353u) << "rendering goes on to the last listed frame and stops";
    EXPECT_EQ(csv.rows.back().phase, "outro");
}

} // namespace
