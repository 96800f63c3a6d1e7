// The Windows programs cross-built by scripts/build-windows.sh, run under Wine on the tests' X
// display in a Wine prefix of the tests' own: options, pixels against the Linux renderer's, the
// demo's window, keys and sound, and the renderer's ffmpeg process.
#include <regex>
#include <thread>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "e2e/capture_files.h"
#include "e2e/child_process.h"
#include "e2e/tone_mp3.h"
#include "tools/capture/production_length.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string windowsProgram(const std::string& name) {
    return std::string(OMBRA_SOURCE_DIR) + "/build-windows/" + name + ".exe";
}

// Wine's own diagnostics are not the program's messages.
std::vector<std::string> underWine(const std::string& name, std::vector<std::string> args = {}) {
    args.insert(args.begin(),
                {"env", "WINEDEBUG=-all", "/usr/lib/wine/wine64", windowsProgram(name)});
    return args;
}

// Windows writes "\r\n" where Linux writes "\n".
std::string linuxLines(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

TEST(Windows, BothProgramsAnswerHelpVersionAndABadOptionAsOnLinux) {
    TempFolder folder;
    for (const std::string program : {"ombra", "ombra-capture"}) {
        for (const auto& [option, exitCode] :
             {std::pair{"--help", 0}, {"--version", 0}, {"--bad-option", 2}}) {
            SCOPED_TRACE(program + " " + option);
            const ProcessResult linux = runProcess({builtProgram(program), option}, folder.path());
            const ProcessResult windows = runProcess(underWine(program, {option}), folder.path());
            EXPECT_EQ(windows.exitCode, exitCode) << windows.err;
            EXPECT_EQ(linux.exitCode, exitCode) << linux.err;
            EXPECT_EQ(linuxLines(windows.out), linux.out);
            EXPECT_EQ(linuxLines(windows.err), linux.err);
            EXPECT_NE(linux.out + linux.err, "");
        }
    }
}

// Each phase's first and last frames and three between, at 10 fps.
std::string framesInEveryPhase() {
    std::string list;
    for (const ProductionPhase& phase : productionPhases(10)) {
        for (int quarter = 0; quarter <= 4; ++quarter) {
            list += (list.empty() ? "" : ",") +
                    std::to_string(phase.firstFrame + (phase.frames - 1) * quarter / 4);
        }
    }
    return list;
}

TEST(Windows, RendererWritesTheLinuxRenderersPixelsInEveryPhase) {
    TempFolder folder;
    const std::vector<std::string> args{
        "--fps", "10", "--seed", "5", "--quiet", "--frames", framesInEveryPhase()};
    std::vector<std::string> onLinux = args, onWindows = underWine("ombra-capture", args);
    onLinux.insert(onLinux.end(), {"--out", "linux"});
    onWindows.insert(onWindows.end(), {"--out", "windows"});
    const ProcessResult linux = runCapture(onLinux, folder.path());
    const ProcessResult windows = runProcess(onWindows, folder.path(), 600s);
    ASSERT_EQ(linux.exitCode, 0) << linux.err;
    ASSERT_EQ(windows.exitCode, 0) << windows.err;

    const std::set<std::string> files = filesIn(folder / "linux");
    EXPECT_EQ(filesIn(folder / "windows"), files);
    EXPECT_EQ(files.size(), 12 * 5 + 1);
    std::size_t differing = 0;
    for (const std::string& file : files) {
        if (file == "frames.csv") {
            continue;
        }
        const PngPicture fromLinux = readPng(folder / "linux/" + file),
                         fromWindows = readPng(folder / "windows/" + file);
        ASSERT_TRUE(fromLinux.is640x480Rgb && fromWindows.is640x480Rgb) << file;
        for (std::size_t i = 0; i < fromLinux.rows.size(); i += 3) {
            differing +=
                !std::equal(&fromLinux.rows[i], &fromLinux.rows[i] + 3, &fromWindows.rows[i]);
        }
    }
    EXPECT_EQ(differing, 0u) << "pixels differ over " << files.size() - 1 << " frames";

    const FrameCsv linuxLog = readFrameCsv(folder / "linux/frames.csv"),
                   windowsLog = readFrameCsv(folder / "windows/frames.csv");
    ASSERT_EQ(windowsLog.rows.size(), linuxLog.rows.size());
    EXPECT_EQ(windowsLog.badLines, std::vector<std::string>{});
    for (std::size_t i = 0; i < linuxLog.rows.size(); ++i) {
        const FrameRow &a = linuxLog.rows[i], &b = windowsLog.rows[i];
        EXPECT_TRUE(a.frame == b.frame && a.time == b.time && a.scene == b.scene &&
                    a.phase == b.phase && a.sceneTime == b.sceneTime)
            << "row " << i;
    }
}

// The demo in a 640x480 window on the tests' display, once it shows its first frame.
class WindowsDemo {
  public:
    explicit WindowsDemo(const TempFolder& folder, const Environment& environment)
        : demo(underWine("ombra", {"--window", "640x480"}), folder.path(), environment) {
        const auto deadline = Clock::now() + 120s;
        while (window == 0 && Clock::now() < deadline) {
            const ProcessResult found = runProcess(
                {"xdotool", "search", "--onlyvisible", "--name", "^OMBRA$"}, folder.path(), 10s);
            window = found.exitCode == 0 ? std::stoul(found.out) : 0;
        }
        EXPECT_NE(window, 0u) << "no OMBRA window: " << demo.errSoFar();
    }
    ~WindowsDemo() { XCloseDisplay(x); }

    // Whether the window shows `count` pictures one after the other, each different from the
    // one before and not all black, within a minute.
    bool showsPictures(int count) {
        std::vector<unsigned long> before;
        const auto deadline = Clock::now() + 60s;
        while (count > 0 && window != 0 && Clock::now() < deadline) {
            std::vector<unsigned long> now = pixels();
            if (now != before && std::any_of(now.begin(), now.end(), [](auto p) { return p; })) {
                before = std::move(now);
                --count;
            }
        }
        return count == 0;
    }

    void type(const std::string& key) {
        runProcess({"xdotool", "windowfocus", "--sync", std::to_string(window), "key", key}, ".");
    }

    ProcessResult endWithEsc() {
        type("Escape");
        return demo.wait(60s);
    }

    ChildProcess demo;
    Window window = 0;

  private:
    // The window's pixels, or nothing while it is changing under the request.
    std::vector<unsigned long> pixels() {
        XImage* image = XGetImage(x, window, 0, 0, 640, 480, AllPlanes, ZPixmap);
        std::vector<unsigned long> found;
        for (int row = 0; image && row < 480; ++row) {
            for (int column = 0; column < 640; ++column) {
                found.push_back(XGetPixel(image, column, row) & 0xFFFFFF);
            }
        }
        if (image) {
            XDestroyImage(image);
        }
        return found;
    }

    Display* x = XOpenDisplay(nullptr);
};

// Without Ombra.mp3 and, in the tests' prefix, without a sound device, the production plays
// silently and says so in one line, and nothing else is written.
TEST(Windows, DemoShowsAMovingPictureInAWindowWithoutASoundDeviceAndEndsWithZeroOnEsc) {
    TempFolder folder;
    WindowsDemo playing(folder, {"ALSOFT_DRIVERS="});
    EXPECT_TRUE(playing.showsPictures(3)) << "no moving picture";
    const ProcessResult result = playing.endWithEsc();
    EXPECT_EQ(result.exitCode, 0) << (result.timedOut ? "Esc did not end the demo" : result.err);
    EXPECT_EQ(linuxLines(result.out), "Please wait.\n... ... ... ... ... ... ");
    EXPECT_EQ(linuxLines(result.err),
              "Ombra.mp3: soundtrack could not be opened; playing without music\n");
}

// A 0x1A byte ends a file read in text mode on Windows: the soundtrack must be read as bytes,
// or the position stays 0. Each `r` comes some frames after the one before.
TEST(Windows, RPrintsAGrowingMusicPositionForAnMp3WithEarlyEndOfFileBytes) {
    TempFolder folder;
    ASSERT_TRUE(runShell(toneMp3Command("Ombra.mp3", "60"), folder.path()));
    WindowsDemo playing(folder, {"ALSOFT_DRIVERS=null"});
    for (int press = 0; press < 4; ++press) {
        ASSERT_TRUE(playing.showsPictures(20));
        playing.type("r");
    }
    const ProcessResult result = playing.endWithEsc();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::smatch numbers;
    const std::regex printed(
        "Please wait\\.\r?\n(\\.\\.\\. ){6}([0-9]+) ([0-9]+) ([0-9]+) ([0-9]+) ");
    ASSERT_TRUE(std::regex_match(result.out, numbers, printed)) << result.out;
    for (int i = 3; i <= 5; ++i) {
        EXPECT_LE(std::stoul(numbers[i - 1]), std::stoul(numbers[i])) << result.out;
    }
    EXPECT_LT(std::stoul(numbers[2]), std::stoul(numbers[5])) << result.out;
}

// The renderer runs ffmpeg.exe from PATH and feeds it the frames; here a stand-in built for the
// test counts what arrives. Without one on PATH, one line says what to install.
TEST(Windows, RendererFeedsFfmpegFromPathOrSaysInOneLineThatItIsMissing) {
    TempFolder folder;
    ASSERT_TRUE(runShell("mkdir bin && x86_64-w64-mingw32-gcc-posix -O -o bin/ffmpeg.exe " +
                             std::string(OMBRA_SOURCE_DIR) + "/tests/wine/stand_in_ffmpeg.c",
                         folder.path()));
    const std::vector<std::string> render =
        underWine("ombra-capture", {"--video", "v.mp4", "--frames", "0-9", "--quiet"});
    const ProcessResult fed =
        runProcess(render, folder.path(), 300s, {"WINEPATH=Z:" + folder.path() + "/bin"});
    EXPECT_EQ(fed.exitCode, 0) << fed.err;
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"bin", "v.mp4"}));
    const std::string video = readFile(folder / "v.mp4");
    EXPECT_EQ(video.substr(0, video.find(':')), std::to_string(10 * 640 * 480 * 3 / 2) + " bytes");
    EXPECT_NE(video.find(" -video_size 640x480 "), std::string::npos) << video;

    ASSERT_TRUE(runShell("rm -r bin v.mp4", folder.path()));
    const ProcessResult missing = runProcess(render, folder.path(), 300s);
    EXPECT_EQ(missing.exitCode, 1);
    const std::regex oneLine("(^|\n)[^\n]*ffmpeg[^\n]*\n");
    EXPECT_EQ(std::distance(std::sregex_iterator(missing.err.begin(), missing.err.end(), oneLine),
                            std::sregex_iterator()),
              1)
        << missing.err;
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{});
}

} // namespace
