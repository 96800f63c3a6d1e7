// The demo and the offline renderer against what a user's machine can throw at them: Esc in the
// middle of an outro, a soundtrack that is broken or missing, and no audio device at all.
#include <chrono>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <limits.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "capture_files.h"
#include "child_process.h"
#include "test_soundtracks.h"
#include "virtual_display.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string startOutput = "Please wait.\n... ... ... ... ... ... ";
const std::string soundtrackName = "Ombra.mp3";
const std::string unopenedLine =
    "Ombra.mp3: soundtrack could not be opened; playing without music\n";
// Bytes of decoded audio a second of a 44.1 kHz 16-bit stereo MP3 holds.
constexpr double cdByteRate = 176'400;

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

double secondsBetween(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

void copyFile(const std::string& from, const std::string& to) {
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

std::string nameOf(const testing::TestParamInfo<BrokenSoundtrack>& info) {
    return info.param.name;
}

// ---- The demo on a display of its own ------------------------------------------------------

// Notices the demo opening its soundtrack: only its first frame does that.
class SoundtrackOpenWatch {
  public:
    explicit SoundtrackOpenWatch(const std::string& folder)
        : events(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(events, folder.c_str(), IN_OPEN);
    }
    ~SoundtrackOpenWatch() { close(events); }
    SoundtrackOpenWatch(const SoundtrackOpenWatch&) = delete;
    SoundtrackOpenWatch& operator=(const SoundtrackOpenWatch&) = delete;

    bool opened() {
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        ssize_t length = 0;
        while ((length = read(events, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                seen = seen || (event->len > 0 && soundtrackName == event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return seen;
    }

  private:
    int events;
    bool seen = false;
};

// The demo started in `folder` on an X display of its own. Its first frame is known to have
// run once it has opened its soundtrack or said on stderr that it could not.
class DemoRun {
  public:
    explicit DemoRun(const TempFolder& folder, const std::vector<std::string>& launcher = {})
        : folder(folder), watch(folder.path()),
          demo(commandLine(launcher), folder.path(), {display.environmentEntry()}) {
        waitForFirstFrame();
        if (started()) {
            window = findWindow();
        }
    }

    bool started() const { return firstFrame.has_value(); }
    bool hasWindow() const { return !window.empty(); }

    // Sleeps until `delay` after the first frame.
    void sleepUntilAfterFirstFrame(std::chrono::duration<double> delay) const {
        std::this_thread::sleep_until(*firstFrame +
                                      std::chrono::duration_cast<Clock::duration>(delay));
    }
    double secondsSinceFirstFrame(Clock::time_point moment) const {
        return secondsBetween(*firstFrame, moment);
    }

    // Sends keys and waits until they are sent.
    void press(const std::vector<std::string>& keys) {
        ChildProcess sender(keyCommand(keys), folder.path(), {display.environmentEntry()});
        sender.wait(10s);
    }

    // Sends Esc and waits for the demo to end; `keyToExit` is how long after the key was sent
    // the demo was seen to have ended.
    ProcessResult pressEscapeAndWait(double& keyToExit) {
        const Clock::time_point sent = Clock::now();
        // xdotool may outlive the demo, which ends before the key is released: it is not waited
        // for until the demo has gone.
        ChildProcess sender(keyCommand({"Escape"}), folder.path(), {display.environmentEntry()});
        ProcessResult result = demo.wait(10s);
        keyToExit = secondsBetween(sent, Clock::now());
        sender.wait(10s);
        return result;
    }

  private:
    static std::vector<std::string> commandLine(std::vector<std::string> launcher) {
        launcher.push_back(builtProgram("ombra"));
        return launcher;
    }

    std::vector<std::string> keyCommand(const std::vector<std::string>& keys) const {
        std::vector<std::string> command{"xdotool", "key", "--window", window};
        command.insert(command.end(), keys.begin(), keys.end());
        return command;
    }

    // The demo's stderr as written so far, read through the file its descriptor 2 names.
    std::string errSoFar() const {
        std::error_code error;
        const auto path =
            std::filesystem::read_symlink("/proc/" + std::to_string(demo.pid()) + "/fd/2", error);
        return error ? "" : readFile(path.string());
    }

    void waitForFirstFrame() {
        const auto deadline = Clock::now() + 40s;
        while (display.ready() && Clock::now() < deadline) {
            if (watch.opened() || errSoFar().find(unopenedLine) != std::string::npos) {
                firstFrame = Clock::now();
                return;
            }
            std::this_thread::sleep_for(5ms);
        }
    }

    // The display is this demo's alone, so the only window titled OMBRA is its window.
    std::string findWindow() {
        const ProcessResult search =
            runProcess({"timeout", "20", "xdotool", "search", "--sync", "--name", "^OMBRA$"},
                       folder.path(), 30s, {display.environmentEntry()});
        return search.out.substr(0, search.out.find('\n'));
    }

    const TempFolder& folder;
    VirtualDisplay display;
    SoundtrackOpenWatch watch;
    ChildProcess demo;
    std::optional<Clock::time_point> firstFrame;
    std::string window;
};

// Scene 1 plays 5.815 s from the first frame and its outro 5.51 s more: at 7 s the particles fly.
TEST(DemoEsc, DuringSceneOnesOutroEndsTheRunWithStatusZeroAtOnce) {
    TempFolder folder;
    copyFile(toneMp3(20), folder / soundtrackName);
    DemoRun demo(folder);
    ASSERT_TRUE(demo.started()) << "the demo never reached its first frame";
    ASSERT_TRUE(demo.hasWindow()) << "no window titled OMBRA on a display of its own";

    demo.sleepUntilAfterFirstFrame(7s);
    double keyToExit = 0;
    const ProcessResult result = demo.pressEscapeAndWait(keyToExit);

    EXPECT_FALSE(result.timedOut) << "Esc did not end the demo";
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_LT(keyToExit, 1.0) << "the demo took that many seconds to end after Esc";
    EXPECT_EQ(result.out, startOutput);
    EXPECT_EQ(occurrences(result.err, soundtrackName), 0) << result.err;
}

// Without a sound card (as on this machine) and with OpenAL left to choose its own back end, the
// demo plays silently: the position follows the clock from the first frame at the file's rate.
TEST(DemoWithoutAudioDevice, PlaysAndThePositionFollowsTheClock) {
    TempFolder folder;
    copyFile(toneMp3(20), folder / soundtrackName);
    DemoRun demo(folder, {"env", "-u", "ALSOFT_DRIVERS"});
    ASSERT_TRUE(demo.started()) << "the demo never reached its first frame";
    ASSERT_TRUE(demo.hasWindow()) << "no window titled OMBRA on a display of its own";

    // When each `r` was sent: it cannot be answered before, and is answered before the exit.
    std::vector<double> sentAt;
    for (const auto delay : {1.0s, 2.5s}) {
        demo.sleepUntilAfterFirstFrame(delay);
        sentAt.push_back(demo.secondsSinceFirstFrame(Clock::now()));
        demo.press({"r"});
    }
    double keyToExit = 0;
    const Clock::time_point escape = Clock::now();
    const ProcessResult result = demo.pressEscapeAndWait(keyToExit);
    const double exitedAt = demo.secondsSinceFirstFrame(escape) + keyToExit;

    EXPECT_FALSE(result.timedOut) << "Esc did not end the demo";
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(occurrences(result.err, soundtrackName), 0) << result.err;
    ASSERT_EQ(result.out.compare(0, startOutput.size(), startOutput), 0) << result.out;
    const std::string printed = result.out.substr(startOutput.size());
    std::smatch numbers;
    ASSERT_TRUE(std::regex_match(printed, numbers, std::regex("([0-9]+) ([0-9]+) ")))
        << "printed after the dots: \"" << printed << "\"";
    const double first = std::stod(numbers[1]);
    const double second = std::stod(numbers[2]);
    EXPECT_LT(first, second) << "the position stood still";
    // Thousands of bytes at 176.4 a second; the clock starts a hair after the soundtrack opens.
    constexpr double slack = 0.2;
    const double perSecond = cdByteRate / 1000;
    EXPECT_GE(first, (sentAt[0] - slack) * perSecond);
    EXPECT_GE(second, (sentAt[1] - slack) * perSecond);
    EXPECT_LE(second, (exitedAt + slack) * perSecond);
}

class BrokenSoundtrackDemo : public testing::TestWithParam<BrokenSoundtrack> {};

TEST_P(BrokenSoundtrackDemo, PlaysWithoutMusicUntilEscWithoutCrashOrHang) {
    TempFolder folder;
    ASSERT_NO_FATAL_FAILURE(GetParam().place(folder / soundtrackName));
    DemoRun demo(folder);
    ASSERT_TRUE(demo.started()) << "the demo never reached its first frame";
    ASSERT_TRUE(demo.hasWindow()) << "no window titled OMBRA on a display of its own";

    demo.sleepUntilAfterFirstFrame(3s); // past the truncated file's cut
    double keyToExit = 0;
    const ProcessResult result = demo.pressEscapeAndWait(keyToExit);

    EXPECT_FALSE(result.timedOut) << "the demo hung";
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, startOutput);
    EXPECT_EQ(occurrences(result.err, unopenedLine), GetParam().decodes ? 0 : 1) << result.err;
}

INSTANTIATE_TEST_SUITE_P(Soundtracks, BrokenSoundtrackDemo, testing::ValuesIn(brokenSoundtracks()),
                         nameOf);

// ---- The offline renderer -------------------------------------------------------------------

class BrokenSoundtrackCapture : public testing::TestWithParam<BrokenSoundtrack> {};

// Three simulated seconds at ten frames a second: past the truncated file's cut.
TEST_P(BrokenSoundtrackCapture, RendersTheFirstSecondsWithoutCrashOrHang) {
    constexpr int lastFrame = 30;
    TempFolder folder;
    ASSERT_NO_FATAL_FAILURE(GetParam().place(folder / soundtrackName));
    const std::string out = folder / "frames";
    const ProcessResult result = runProcess({builtProgram("ombra-capture"), "--quiet", "--out", out,
                                             "--fps", "10", "--frames", std::to_string(lastFrame)},
                                            folder.path(), 60s);

    EXPECT_FALSE(result.timedOut) << "the renderer hung";
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, startOutput + "\n");
    EXPECT_EQ(result.err, GetParam().decodes ? "" : unopenedLine);
    EXPECT_EQ(readFrameCsv(out + "/frames.csv").rows.size(), lastFrame + 1u);
    EXPECT_TRUE(readPng(out + "/frame_000030.png").readable);
}

INSTANTIATE_TEST_SUITE_P(Soundtracks, BrokenSoundtrackCapture,
                         testing::ValuesIn(brokenSoundtracks()), nameOf);

} // namespace
