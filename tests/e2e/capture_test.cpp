// The offline renderer end to end: its command line, the files it writes, and the frame loop
// its frames.csv records.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>

#include "capture_files.h"
#include "child_process.h"

namespace {

// The Scenes' play times in playing order.
constexpr double sceneDurations[] = {5.815, 11.0, 21.25, 31.05, 31.65, 10.55};

ProcessResult capture(const std::vector<std::string>& args, const TempFolder& workingFolder) {
    std::vector<std::string> command{builtProgram("ombra-capture")};
    command.insert(command.end(), args.begin(), args.end());
    return runProcess(command, workingFolder.path());
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

std::string pngName(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", frame);
    return name;
}

constexpr const char* csvHeader = "frame,time,scene,phase,scene_time,render_ms";

// --- Command line ---------------------------------------------------------------------------

TEST(CaptureCommandLine, HelpPrintsUsageOnStdoutAndExitsZero) {
    TempFolder folder;
    const ProcessResult result = capture({"--help"}, folder);
    EXPECT_EQ(result.exitCode, 0);
    for (const char* flag : {"--out", "--fps", "--frames", "--seed"}) {
        EXPECT_NE(result.out.find(flag), std::string::npos) << "usage does not mention " << flag;
    }
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{});
}

TEST(CaptureCommandLine, BadArgumentsFailWithAMessageBeforeAnythingIsWritten) {
    TempFolder folder;
    const std::string out = folder / "out";
    struct Case {
        std::vector<std::string> args;
        std::string named; // the message names the culprit
    };
    const std::vector<Case> cases = {
        {{"--out", out, "--bogus"}, "--bogus"},
        {{"--out", out, "extra"}, "extra"},
        {{"--out", out, "--fps", "0"}, "--fps"},
        {{"--out", out, "--fps", "-5"}, "--fps"},
        {{"--out", out, "--fps", "sixty"}, "sixty"},
        {{"--out", out, "--fps", "2.5"}, "2.5"},
        {{"--out", out, "--fps", "99999999999999999999999"}, "--fps"},
        {{"--out", out, "--fps"}, "--fps"},
        {{"--out", out, "--frames", "5-3"}, "5-3"},
        {{"--out", out, "--frames", "1,,2"}, "--frames"},
        {{"--out", out, "--frames", "ten"}, "ten"},
        {{"--out", out, "--frames", ""}, "--frames"},
        {{"--out", out, "--seed", "-1"}, "--seed"},
        {{"--out", out, "--seed", "4294967296"}, "--seed"},
        {{}, "--out"},
        {{"--fps", "30", "--frames", "0"}, "--out"},
        {{"--out"}, "--out"},
    };
    for (const Case& bad : cases) {
        std::string shown;
        for (const std::string& arg : bad.args) {
            shown += " '" + arg + "'";
        }
        SCOPED_TRACE("arguments:" + shown);
        const ProcessResult result = capture(bad.args, folder);
        EXPECT_FALSE(result.timedOut);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.exitCode, -1) << "ended by a signal";
        EXPECT_NE(result.err.find(bad.named), std::string::npos) << "stderr: " << result.err;
        EXPECT_EQ(result.out, "") << "it started playing";
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(CaptureCommandLine, AnOutputFolderThatCannotBeMadeFailsBeforePlaying) {
    TempFolder folder;
    const std::string plainFile = folder / "plain-file";
    std::ofstream(plainFile) << "not a folder";
    for (const std::string& out : {plainFile, plainFile + "/frames"}) {
        SCOPED_TRACE("--out " + out);
        const ProcessResult result = capture({"--out", out, "--frames", "0"}, folder);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.exitCode, -1) << "ended by a signal";
        EXPECT_NE(result.err.find(out), std::string::npos) << "stderr: " << result.err;
        EXPECT_EQ(result.out, "") << "it started playing";
    }
    EXPECT_EQ(readFile(plainFile), "not a folder");
}

// --- Files ----------------------------------------------------------------------------------

void expectFullSizeRgb(const std::string& path) {
    SCOPED_TRACE(path);
    const PngPicture picture = readPng(path);
    ASSERT_TRUE(picture.readable);
    EXPECT_EQ(picture.width, 640u);
    EXPECT_EQ(picture.height, 480u);
    EXPECT_EQ(picture.bitDepth, 8);
    EXPECT_EQ(picture.colourType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(picture.rows.size(), 640u * 480u * 3u);
}

TEST(CaptureFiles, WritesExactlyTheListedFramesAndLogsEveryFrameUpToTheLast) {
    TempFolder folder;
    const std::string out = folder / "new/nested";
    const ProcessResult result = capture({"--out", out, "--frames", "60,0,1"}, folder);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    EXPECT_EQ(filesIn(out),
              (std::set<std::string>{pngName(0), pngName(1), pngName(60), "frames.csv"}));
    for (const int frame : {0, 1, 60}) {
        expectFullSizeRgb(out + "/" + pngName(frame));
    }

    const FrameCsv csv = readFrameCsv(out + "/frames.csv");
    EXPECT_EQ(csv.header, csvHeader);
    EXPECT_EQ(csv.badLines, std::vector<std::string>{});
    ASSERT_EQ(csv.rows.size(), 61u) << "rendering goes on to the last listed frame and stops";
    for (std::size_t i = 0; i < csv.rows.size(); ++i) {
        const FrameRow& row = csv.rows[i];
        SCOPED_TRACE("frame " + std::to_string(i));
        const double time = static_cast<double>(i) / 60;
        EXPECT_EQ(row.frame, i);
        EXPECT_NEAR(row.time, time, 1e-6);
        // Scene 1 starts with frame 0, so its clock reads the simulated time.
        EXPECT_EQ(row.scene, 1);
        EXPECT_EQ(row.phase, "play");
        EXPECT_NEAR(row.sceneTime, time, 1e-5);
        EXPECT_GE(row.renderMs, 0.0);
    }
}

TEST(CaptureFiles, AFrameIsWrittenTheSameWhicheverOtherFramesAreWritten) {
    TempFolder folder;
    const std::string several = folder / "several";
    const std::string single = folder / "single";
    ASSERT_EQ(capture({"--out", several, "--frames", "0-2,45"}, folder).exitCode, 0);
    ASSERT_EQ(capture({"--out", single, "--frames", "45"}, folder).exitCode, 0);

    EXPECT_EQ(filesIn(single), (std::set<std::string>{pngName(45), "frames.csv"}));
    const std::string expected = readFile(several + "/" + pngName(45));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(readFile(single + "/" + pngName(45)) == expected);
}

TEST(CaptureFiles, TheSameSeedWritesIdenticalOutroFrames) {
    // Scene 1 plays 5.815 s: at 60 frames a second its outro begins with frame 349.
    const std::vector<int> frames{349, 350, 351, 352};
    TempFolder folder;
    const std::string first = folder / "first";
    const std::string second = folder / "second";
    for (const std::string& out : {first, second}) {
        const ProcessResult result =
            capture({"--out", out, "--seed", "1234", "--frames", "349-352"}, folder);
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    const FrameCsv firstCsv = readFrameCsv(first + "/frames.csv");
    const FrameCsv secondCsv = readFrameCsv(second + "/frames.csv");
    ASSERT_EQ(firstCsv.rows.size(), 353u);
    EXPECT_EQ(firstCsv.rows[348].phase, "play");
    EXPECT_EQ(firstCsv.rows[349].scene, 1);
    EXPECT_EQ(firstCsv.rows[349].phase, "outro");
    ASSERT_EQ(secondCsv.rows.size(), firstCsv.rows.size());
    for (std::size_t i = 0; i < firstCsv.rows.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_EQ(secondCsv.rows[i].scene, firstCsv.rows[i].scene);
        EXPECT_EQ(secondCsv.rows[i].phase, firstCsv.rows[i].phase);
        EXPECT_EQ(secondCsv.rows[i].sceneTime, firstCsv.rows[i].sceneTime);
    }
    for (const int frame : frames) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        expectFullSizeRgb(first + "/" + pngName(frame));
        EXPECT_TRUE(readFile(first + "/" + pngName(frame)) ==
                    readFile(second + "/" + pngName(frame)));
    }
}

// --- Timeline -------------------------------------------------------------------------------

// The frame loop as frames.csv records it, at `fps` frames a second: Scenes in order, each
// playing until its clock reaches its play time, then in outro from the first frame that reaches
// it, the next Scene starting once the outro ends.
void expectFrameLoopRules(const std::vector<FrameRow>& rows, int fps) {
    const double step = 1.0 / fps;
    constexpr double tolerance = 1e-4; // printed to a microsecond, float clocks near 30 s
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].scene, 1);
    EXPECT_EQ(rows[0].phase, "play");
    EXPECT_EQ(rows[0].sceneTime, 0.0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FrameRow& row = rows[i];
        SCOPED_TRACE("frame " + std::to_string(i) + ": scene " + std::to_string(row.scene) + " " +
                     row.phase + " at " + std::to_string(row.sceneTime));
        ASSERT_EQ(row.frame, i);
        EXPECT_NEAR(row.time, static_cast<double>(i) / fps, 1e-6);
        ASSERT_GE(row.scene, 1);
        ASSERT_LE(row.scene, 6);
        ASSERT_TRUE(row.phase == "play" || row.phase == "outro");
        const double duration = sceneDurations[row.scene - 1];
        if (row.phase == "play") {
            EXPECT_LT(row.sceneTime, duration + 1e-6);
        }
        if (i == 0) {
            continue;
        }
        const FrameRow& previous = rows[i - 1];
        if (row.scene != previous.scene) {
            // The outro that ended started this Scene's clock one frame ago.
            EXPECT_EQ(row.scene, previous.scene + 1);
            EXPECT_EQ(previous.phase, "outro");
            EXPECT_EQ(row.phase, "play");
            EXPECT_NEAR(row.sceneTime, step, tolerance);
        } else if (previous.phase == "play" && row.phase == "play") {
            EXPECT_NEAR(row.sceneTime - previous.sceneTime, step, tolerance);
        } else if (previous.phase == "play" && row.phase == "outro") {
            EXPECT_GE(previous.sceneTime + step, duration - tolerance)
                << "the outro began before the play time was up";
            EXPECT_EQ(row.sceneTime, 0.0) << "the outro's clock starts with its first frame";
        } else if (previous.phase == "outro" && row.phase == "outro") {
            EXPECT_NEAR(row.sceneTime - previous.sceneTime, step, tolerance);
        } else {
            ADD_FAILURE() << "a Scene plays again after its outro";
        }
    }
}

TEST(CaptureTimeline, TheLogFollowsTheFrameLoopAcrossSceneChanges) {
    // Ten frames a second reach well into Scene 2 within a few hundred frames.
    constexpr int fps = 10;
    constexpr int lastFrame = 250;
    TempFolder folder;
    const std::string out = folder / "out";
    const ProcessResult result =
        capture({"--out", out, "--fps", std::to_string(fps), "--frames", std::to_string(lastFrame)},
                folder);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(filesIn(out), (std::set<std::string>{pngName(lastFrame), "frames.csv"}));

    const FrameCsv csv = readFrameCsv(out + "/frames.csv");
    EXPECT_EQ(csv.header, csvHeader);
    EXPECT_EQ(csv.badLines, std::vector<std::string>{});
    ASSERT_EQ(csv.rows.size(), static_cast<std::size_t>(lastFrame) + 1);
    expectFrameLoopRules(csv.rows, fps);
    EXPECT_GE(csv.rows.back().scene, 2) << "the frames rendered never left Scene 1";
}

} // namespace
