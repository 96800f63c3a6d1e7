// The offline renderer end to end: its command line, the pictures and frames.csv it writes, its
// length, and a render stopped by a signal; and its clock and time-left estimate as functions.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "app/frame_list.h"
#include "app/frame_time.h"
#include "capture_files.h"
#include "child_process.h"
#include "tools/capture/production_length.h"
#include "tools/capture/time_left.h"

namespace {

using namespace std::chrono_literals;

struct RefusedCommand {
    std::vector<std::string> args;
    std::string named; // what the message must name
    int exitCode; // 2 for a command line that cannot work, 1 for a place that cannot be written
};

TEST(CaptureCommandLine, HelpNamesEveryOptionAndBadArgumentsOrPlacesFailBeforeRendering) {
    TempFolder folder;
    const ProcessResult help = runCapture({"--help"}, folder.path());
    EXPECT_EQ(help.exitCode, 0);
    for (const char* text : {"--out", "--fps", "--frames", "--seed", "--video", "--quiet", "--size",
                             "--smooth", "--preset", "ffmpeg", "Ombra.mp3"}) {
        EXPECT_NE(help.out.find(text), std::string::npos) << "usage does not mention " << text;
    }

    const std::string plainFile = folder / "plain-file";
    std::ofstream(plainFile) << "not a folder";
    const std::string noFolder = folder / "no such folder/v.mp4";
    const std::string pastTheEnd = std::to_string(productionFrames(60));
    const RefusedCommand cases[] = {
        {{"--out", "o", "--bogus"}, "--bogus", 2},
        {{"--out", "o", "extra"}, "extra", 2},
        {{"--out", "o", "--fps", "0"}, "--fps", 2},
        {{"--out", "o", "--fps=1001"}, "--fps", 2},
        {{"--out", "o", "--frames", "5-3"}, "5-3", 2},
        {{"--out", "o", "--frames", pastTheEnd}, std::to_string(productionFrames(60) - 1), 2},
        {{"--out", "o", "--seed", "4294967296"}, "--seed", 2},
        {{"--frames", "0"}, "--out", 2},
        {{"--video", ""}, "--video", 2},
        {{"--video", "v.avi"}, "v.avi", 2},
        {{"--video", "-"}, "\"-\"", 2},
        {{"--video", "v.mp4", "--quiet=yes"}, "--quiet", 2},
        {{"--out", "o", "--size", "0x480"}, "0x480", 2},
        {{"--out", "o", "--size", "1920X1080"}, "1920X1080", 2},
        {{"--video", "v.mp4", "--size", "641x480"}, "641x480", 2},
        {{"--video", "v.mov", "--size", "640x481"}, "640x481", 2},
        {{"--video", "v.mp4", "--preset", "quick"}, "quick", 2},
        {{"--out", plainFile, "--frames", "0"}, plainFile, 1},
        {{"--video", noFolder, "--frames", "0-9"}, noFolder, 1}};
    for (const RefusedCommand& refused : cases) {
        SCOPED_TRACE("arguments: " + testing::PrintToString(refused.args));
        const ProcessResult result = runCapture(refused.args, folder.path());
        EXPECT_EQ(result.exitCode, refused.exitCode) << result.err;
        EXPECT_NE(result.err.find(refused.named), std::string::npos) << "stderr: " << result.err;
        EXPECT_EQ(result.out, "") << "it started playing";
        EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{"plain-file"});
    }
    EXPECT_EQ(readFile(plainFile), "not a folder");

    // The limits themselves, as --flag=value; off a terminal, a progress line a tenth up to 90 %.
    const ProcessResult edges = runCapture(
        {"--out=edges", "--fps=1000", "--seed=4294967295", "--frames=19"}, folder.path());
    EXPECT_EQ(edges.exitCode, 0) << edges.err;
    const FrameCsv csv = readFrameCsv(folder / "edges/frames.csv");
    ASSERT_EQ(csv.rows.size(), 20u);
    EXPECT_EQ(csv.rows[1].time, 0.001);
    const std::size_t last = edges.err.find("\nframe 18 / 20 (90%)");
    EXPECT_EQ(edges.err.substr(edges.err.find('\n', last + 1) + 1, 21), "rendered 20 frames in")
        << edges.err;
}

// How many ffmpeg processes have `folder` as their working folder.
int ffmpegsWorkingIn(const std::string& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::error_code gone;
        count += std::filesystem::read_symlink(entry.path() / "cwd", gone) == folder &&
                 readFile(entry.path() / "comm") == "ffmpeg\n";
    }
    return count;
}

// Ctrl-C on a terminal signals the whole group as the README runs it: xvfb-run and its display,
// which goes at once, get it too, and xvfb-run ends by it. Other signals reach the renderer alone.
TEST(CaptureStop, ASignalEndsTheRenderWithItsStatusNoPartialVideoAndWholeRowsOneRenderPerFolder) {
    struct Stop {
        int signal;
        bool underXvfbRun;
        int status; // -1: ended by the signal
    };
    for (const Stop& stop : {Stop{SIGINT, false, 130}, Stop{SIGINT, true, -1},
                             Stop{SIGTERM, false, 143}, Stop{SIGHUP, false, 129}}) {
        SCOPED_TRACE("signal " + std::to_string(stop.signal) +
                     (stop.underXvfbRun ? " under xvfb-run" : ""));
        TempFolder folder;
        std::ofstream(folder / "v.mp4") << "an older video";
        std::vector<std::string> command{
            "setsid", builtProgram("ombra-capture"), "--video", "v.mp4", "--out", "o"};
        if (stop.underXvfbRun) {
            command.insert(command.begin() + 1, {"xvfb-run", "-a"});
        }
        ChildProcess render(command, folder.path());
        // Some frames in, writes to ffmpeg's full pipe are waiting for it.
        ASSERT_TRUE(eventually(
            [&] { return readFrameCsv(folder / "o/frames.csv").rows.size() >= 20; }, 120s))
            << render.errSoFar();
        if (stop.signal == SIGINT && !stop.underXvfbRun) {
            const ProcessResult second = runCapture({"--out", "o", "--frames", "0"}, folder.path());
            EXPECT_EQ(second.exitCode, 1);
            EXPECT_NE(second.err.find("another render is writing into o"), std::string::npos)
                << second.err;
        }

        kill(stop.signal == SIGINT ? -render.id() : render.id(), stop.signal);
        const ProcessResult result = render.wait(120s);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, stop.status) << result.err;
        // xvfb-run passes the renderer's stderr on as its stdout.
        const std::string said = result.out + result.err;
        EXPECT_NE(said.find("ombra-capture: stopped by "), std::string::npos) << said;
        EXPECT_EQ(said.find("X connection"), std::string::npos) << "Xlib ended it: " << said;
        EXPECT_EQ(readFile(folder / "v.mp4"), "an older video");
        EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"o", "v.mp4"}));
        const std::string log = readFile(folder / "o/frames.csv");
        EXPECT_EQ(log.back(), '\n');
        EXPECT_EQ(readFrameCsv(folder / "o/frames.csv").badLines, std::vector<std::string>{});
        EXPECT_EQ(ffmpegsWorkingIn(folder.path()), 0) << "ffmpeg outlived the render";
    }

    // A stop while a stand-in ffmpeg finishes the video (it took every frame) ends the wait for it.
    TempFolder folder;
    std::ofstream(folder / "ffmpeg") << "#!/bin/sh\ncat >/dev/null; : >fed; exec sleep 120\n";
    std::filesystem::permissions(folder / "ffmpeg", std::filesystem::perms::owner_all);
    ChildProcess render({builtProgram("ombra-capture"), "--video", "v.mp4", "--frames", "0-2"},
                        folder.path(), {"PATH=" + folder.path() + ":" + std::getenv("PATH")});
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(folder / "fed"); }, 120s));
    const auto ended = [&] { // the stops keep coming: one may land just before the wait begins
        siginfo_t child{};
        kill(render.id(), SIGTERM);
        return waitid(P_PID, render.id(), &child, WEXITED | WNOHANG | WNOWAIT) == 0 && child.si_pid;
    };
    EXPECT_TRUE(eventually(ended, 60s));
    EXPECT_EQ(render.wait(1s).exitCode, 143);
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"ffmpeg", "fed"}));
}

// A render killed outright keeps a row for every frame whose picture it wrote but the last, which
// it may have been writing; each row's picture is whole.
TEST(CaptureStop, SigkillKeepsARowForEveryFrameWrittenAndEveryRowsPicture) {
    TempFolder folder;
    ChildProcess render({builtProgram("ombra-capture"), "--out", "o", "--quiet"}, folder.path());
    ASSERT_TRUE(
        eventually([&] { return readFrameCsv(folder / "o/frames.csv").rows.size() >= 30; }, 120s))
        << render.errSoFar();
    kill(render.id(), SIGKILL);
    render.wait(60s);
    const FrameCsv csv = readFrameCsv(folder / "o/frames.csv");
    EXPECT_EQ(csv.badLines, std::vector<std::string>{});
    std::set<std::string> unlogged = filesIn(folder / "o");
    unlogged.erase("frames.csv");
    for (const FrameRow& row : csv.rows) {
        EXPECT_EQ(unlogged.erase(frameFile(row.frame)), 1u)
            << "a row without its picture: " << row.frame;
        EXPECT_TRUE(readPng(folder / ("o/" + frameFile(row.frame))).is640x480Rgb) << row.frame;
    }
    ASSERT_LE(unlogged.size(), 1u) << "pictures without rows";
    EXPECT_TRUE(unlogged.empty() || *unlogged.begin() == frameFile(csv.rows.back().frame + 1));
}

// A disk that fills while a picture is written (here a file size limit the render inherits, its
// signal ignored as a full disk sends none) leaves no cut-short frame: the render says which and
// stops, and the frames before it stay.
TEST(CaptureFailure, AFrameThatCannotBeWrittenInFullIsRemoved) {
    TempFolder folder;
    ASSERT_EQ(
        runCapture({"--out", "whole", "--fps", "10", "--frames", "59-61", "--quiet"}, folder.path())
            .exitCode,
        0);
    const auto size = [&](int frame) {
        return std::filesystem::file_size(folder / ("whole/" + frameFile(frame)));
    };
    const std::uintmax_t limit = std::max(size(59), size(60)) + 1;
    ASSERT_LT(limit, size(61)) << "frame 61 is not the largest; choose another";
    const ProcessResult cut = runProcess(
        {"sh", "-c", "trap '' XFSZ; exec prlimit --fsize=" + std::to_string(limit) + " \"$@\"",
         "sh", builtProgram("ombra-capture"), "--out", "o", "--fps", "10", "--frames", "59-61",
         "--quiet"},
        folder.path());
    EXPECT_EQ(cut.exitCode, 1) << cut.err;
    EXPECT_NE(cut.err.find("cannot write o/frame_000061.png: File too large"), std::string::npos)
        << cut.err;
    EXPECT_EQ(filesIn(folder / "o"),
              (std::set<std::string>{"frames.csv", frameFile(59), frameFile(60)}));
    EXPECT_EQ(readFile(folder / ("o/" + frameFile(60))),
              readFile(folder / ("whole/" + frameFile(60))));
}

// 2, 6 and 10 s into Scene 6, frames at 30 fps show what those at 60 show, but where a pair's
// distances tie within the turn's rounding, which moves a pixel by a vote (20 of 255).
TEST(CaptureFrameRate, Scene6At30FpsShowsWhatItShowsAt60AtTheSameMoments) {
    TempFolder folder;
    std::vector<std::uint8_t> pictures[2][3];
    for (const int fps : {30, 60}) {
        // Scene 6's clock starts in the frame before its first, where Scene 5's outro ends.
        const std::uint64_t start = productionPhases(fps)[10].firstFrame - 1;
        const auto frame = [&](int moment) { return start + (2 + 4 * moment) * fps; };
        const std::string out = "fps" + std::to_string(fps);
        const ProcessResult render =
            runCapture({"--out", out, "--fps", std::to_string(fps), "--frames",
                        std::to_string(frame(0)) + "," + std::to_string(frame(1)) + "," +
                            std::to_string(frame(2)),
                        "--quiet"},
                       folder.path());
        ASSERT_EQ(render.exitCode, 0) << render.err;
        for (int moment = 0; moment < 3; ++moment) {
            pictures[fps == 60][moment] =
                readPng(folder / out + "/" + frameFile(frame(moment))).rows;
        }
    }
    for (int moment = 0; moment < 3; ++moment) {
        const std::vector<std::uint8_t>&at30 = pictures[0][moment], &at60 = pictures[1][moment];
        ASSERT_EQ(at30.size(), at60.size());
        int ties = 0; // a vote's worth at most, or the field moved
        for (std::size_t i = 0; i < at30.size(); ++i) {
            ties += at30[i] == at60[i] ? 0 : std::abs(at30[i] - at60[i]) <= 21 ? 1 : 1000;
        }
        EXPECT_LT(ties, 300) << "moment " << moment;
    }
}

// Items in any order, repeated, overlapping, nested or touching: their frames, no other; bad ones.
TEST(CaptureFrameList, HoldsEveryFrameOfItsItemsAndNoOther) {
    const FrameList list = FrameList::parse("30-40,5,32-35,38-50,61,5,3-4,60-60,0-0");
    std::string held;
    for (FrameList::Frame frame = 0; frame < 64; ++frame) {
        held += list.contains(frame) ? '#' : '.';
    }
    EXPECT_EQ(held, "#..###" + std::string(24, '.') + std::string(21, '#') + "........." + "##..");
    EXPECT_EQ(std::tuple(list.first(), list.last()), std::tuple(0u, 61u));
    for (const char* bad : {"", "1,,2", "x", "5-", "-5", "1-2-3", "1000000000", "3.5"}) {
        EXPECT_THROW(FrameList::parse(bad), std::invalid_argument) << bad;
    }
}

// Frame n is shown round(n * 10^7 / fps) ticks after the base, halves rounding up.
TEST(CaptureClock, EveryFrameFallsOnTheNearestTickHalvesRoundingUp) {
    const auto ticksAfterBase = [](std::uint64_t frame, int fps) {
        return frameTicks(frame, fps) - renderClockBase;
    };
    EXPECT_EQ(ticksAfterBase(8229, 60), 1'371'500'000u);               // 137.15 s
    EXPECT_EQ(ticksAfterBase(1, 3), 3'333'333u);                       // 3,333,333.3 down
    EXPECT_EQ(ticksAfterBase(2, 3), 6'666'667u);                       // 6,666,666.7 up
    EXPECT_EQ(ticksAfterBase(1, 256), 39'063u);                        // 39,062.5: the half goes up
    EXPECT_EQ(ticksAfterBase(999'999'999, 7), 1'428'571'427'142'857u); // .14, no overflow
}

// Made-up costs: Scene 1's frames take 10 ms, its dissolve's several times more (less, encoded).
TEST(CaptureTimeLeft, UnseenPhasesWeighByTheirShareOfTheWorkAndSeenOnesGoOnAsTheyWent) {
    const std::vector<ProductionPhase> plan{{1, false, 0, 100}, {1, true, 100, 100}};
    const auto afterHalfOfScene1 = [&plan](double slowdown, FrameUse use) {
        TimeLeft timeLeft(plan, use);
        for (int frame = 0; frame < 50; ++frame) {
            timeLeft.add(phaseIndex(1, false), 0.010 * slowdown);
        }
        return timeLeft.secondsLeft();
    };
    const double drawn = afterHalfOfScene1(1, FrameUse::Drawn);
    const double written = afterHalfOfScene1(1, FrameUse::Written);
    EXPECT_GT(drawn, 50 * 0.010 + 100 * 0.010 * 4) << "the dissolve as cheap as the Scene";
    EXPECT_GT(written, 50 * 0.010 + 100 * 0.010 * 2);
    EXPECT_LT(written, drawn) << "encoding costs every frame alike, and makes up most of it";
    EXPECT_NEAR(afterHalfOfScene1(2, FrameUse::Drawn), 2 * drawn, 1e-9) << "twice as slow";

    // A phase goes by its share of the work until it has run long enough to go by its own cost
    // (its first frames may prepare shaders or capture a picture); this dissolve costs as much.
    TimeLeft timeLeft(plan, FrameUse::Drawn);
    EXPECT_EQ(timeLeft.framesLeft(), 200u);
    EXPECT_EQ(timeLeft.secondsLeft(), 0);
    for (int frame = 0; frame < 129; ++frame) {
        timeLeft.add(phaseIndex(1, frame >= 100), 0.010);
    }
    EXPECT_GT(timeLeft.secondsLeft(), 71 * 0.010 * 2) << "taken at its own cost too early";
    timeLeft.add(phaseIndex(1, true), 0.010);
    EXPECT_EQ(timeLeft.framesLeft(), 70u);
    EXPECT_NEAR(timeLeft.secondsLeft(), 70 * 0.010, 1e-9) << "not taken at its own cost";
}

} // namespace
