// The demo on an X display of its own: console output, keys, no audio device, and broken
// soundtracks on the demo and through the offline renderer.
#include <regex>
#include <thread>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include "capture_files.h"
#include "child_process.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string unopenedLine =
    "Ombra.mp3: soundtrack could not be opened; playing without music\n";

// Runs the demo on a private Xvfb server; from its first frame on (its soundtrack opened or said
// unopened) xdotool runs `keys` in its window. `secondsTyping`: how long it ran after that.
ProcessResult playDemo(const TempFolder& folder, const std::vector<std::string>& keys,
                       double& secondsTyping,
                       const std::vector<std::string>& command = {builtProgram("ombra")}) {
    const int opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    inotify_add_watch(opens, folder.path().c_str(), IN_OPEN);
    const PrivateDisplay xvfb(folder);
    const std::string display = xvfb.variable;
    const auto deadline = Clock::now() + 40s;
    ChildProcess demo(command, folder.path(), {display});
    char events[4096];
    while (read(opens, events, sizeof events) <= 0 &&
           demo.errSoFar().find(unopenedLine) == std::string::npos && Clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    close(opens);
    EXPECT_LT(Clock::now(), deadline) << "the demo never reached its first frame";

    std::vector<std::string> typing{"xdotool", "search",      "--sync", "--name",
                                    "^OMBRA$", "windowfocus", "--sync", "%1"};
    typing.insert(typing.end(), keys.begin(), keys.end());
    const auto typingBegan = Clock::now();
    const ChildProcess typist(typing, folder.path(), {display});
    ProcessResult result = demo.wait(30s);
    secondsTyping = std::chrono::duration<double>(Clock::now() - typingBegan).count();
    return result;
}

// `r` prints the position in thousands of bytes (176.4 a second); `R` nothing. Esc comes 7 s in.
void expectKeysToWork(const std::vector<std::string>& command) {
    SCOPED_TRACE(testing::PrintToString(command));
    TempFolder folder;
    ASSERT_TRUE(
        runShell("sox -n -r 44100 -c 2 -t wav - synth 20 sine 440 | lame --quiet - Ombra.mp3",
                 folder.path()));
    double secondsTyping = 0;
    const ProcessResult result = playDemo(folder,
                                          {"key", "r", "R", "shift+r", "r", "sleep", "1.5", "key",
                                           "r", "sleep", "5.5", "key", "Escape"},
                                          secondsTyping, command);

    EXPECT_EQ(result.exitCode, 0) << (result.timedOut ? "Esc did not end the demo" : result.err);
    EXPECT_LT(secondsTyping, 8.0) << "the demo took a while to end after Esc";
    std::smatch numbers;
    const std::regex printed("Please wait\\.\n(\\.\\.\\. ){6}([0-9]+) ([0-9]+) ([0-9]+) ");
    ASSERT_TRUE(std::regex_match(result.out, numbers, printed)) << result.out;
    EXPECT_LE(std::stod(numbers[2]), std::stod(numbers[3]));
    EXPECT_NEAR((std::stod(numbers[4]) - std::stod(numbers[3])) / 176.4, 1.5, 0.3);
}

// Without ALSOFT_DRIVERS there is no sound card here: the music plays silently on the clock.
TEST(Demo, KeysPrintTheMusicPositionAndEscEndsSceneOnesOutroAtOnceWithOrWithoutAudioDevice) {
    expectKeysToWork({builtProgram("ombra")});
    expectKeysToWork({"env", "-u", "ALSOFT_DRIVERS", builtProgram("ombra")});
}

// A display that refuses this client, or none at all: the demo and the renderer end at once with
// one message for it, the renderer's saying how to run it without a display and creating nothing.
TEST(Display, ARefusedOrMissingDisplayEndsBothProgramsAtOnceWithOneMessage) {
    TempFolder folder;
    ASSERT_TRUE(
        runShell("xauth -q -f cookie add :0 . 00112233445566778899aabbccddeeff", folder.path()));
    const PrivateDisplay refusing(folder, "1024x768", {"-auth", folder / "cookie"});
    const std::string program = builtProgram("ombra"), renderer = builtProgram("ombra-capture");
    const std::vector<std::string> rendering{renderer, "--out", "o", "--video", "v.mp4"};
    struct Case {
        std::vector<std::string> command;
        Environment environment;
        std::string message; // once in stderr
    };
    const std::string refusal = "Authorization required";
    const Case cases[] = {{{program}, {refusing.variable, "XAUTHORITY=/nonexistent"}, refusal},
                          {rendering, {refusing.variable, "XAUTHORITY=/nonexistent"}, refusal},
                          {{program}, {"DISPLAY=:65000"}, "failed to open display ':65000'\n"},
                          {rendering, {"DISPLAY=:65000"}, "cannot open the X display \":65000\""},
                          {{"env", "-u", "DISPLAY", renderer, "--out", "o"},
                           {},
                           "run it on a virtual one: xvfb-run -a "}};
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.command) + " " +
                     testing::PrintToString(test.environment));
        const ProcessResult result = runProcess(test.command, folder.path(), 60s, test.environment);
        EXPECT_EQ(result.exitCode, 1) << result.err;
        const auto found = result.err.find(test.message);
        EXPECT_NE(found, std::string::npos) << result.err;
        EXPECT_EQ(result.err.find(test.message, found + 1), std::string::npos) << result.err;
        EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{"cookie"});
    }
}

struct BrokenSoundtrack {
    const char* name;
    const char* make;   // the shell command that puts it in place
    bool decodes;       // the truncated file plays up to its cut, 2 s in
    bool alsoOnTheDemo; // slower than the renderer, which decodes the same way
};

const BrokenSoundtrack brokenSoundtracks[] = {
    {"Missing", ":", false, true},
    {"Truncated",
     "sox -n -r 44100 -c 2 -t wav - synth 5 sine 440 | lame --quiet - t.mp3 && "
     "head -c $(($(stat -c %s t.mp3) * 2 / 5)) t.mp3 > Ombra.mp3 && rm t.mp3",
     true, true},
    {"Empty", ": > Ombra.mp3", false, false},
    {"RenamedWav", "sox -n -r 44100 -c 2 -t wav Ombra.mp3 synth 2 sine 440", false, false},
    {"Directory", "mkdir Ombra.mp3", false, false},
};

void PrintTo(const BrokenSoundtrack& soundtrack, std::ostream* out) {
    *out << soundtrack.name;
}

class BrokenSoundtrackTest : public testing::TestWithParam<BrokenSoundtrack> {};

TEST_P(BrokenSoundtrackTest, PlaysWithoutMusicAndWithoutCrashOrHang) {
    const BrokenSoundtrack& soundtrack = GetParam();
    TempFolder folder;
    ASSERT_TRUE(runShell(soundtrack.make, folder.path()));
    // Three seconds go past the truncated file's cut.
    const ProcessResult rendered =
        runCapture({"--quiet", "--out", "frames", "--fps", "10", "--frames", "30"}, folder.path());
    EXPECT_EQ(rendered.exitCode, 0) << rendered.err;
    EXPECT_EQ(rendered.err, "") << "pictures have no sound to miss";
    EXPECT_EQ(readFrameCsv(folder / "frames/frames.csv").rows.size(), 31u);
    if (!soundtrack.alsoOnTheDemo) {
        return;
    }
    double secondsTyping = 0;
    const ProcessResult played = playDemo(folder, {"sleep", "3", "key", "Escape"}, secondsTyping);
    EXPECT_EQ(played.exitCode, 0) << (played.timedOut ? "the demo hung" : played.err);
    EXPECT_EQ(played.out, "Please wait.\n... ... ... ... ... ... ");
    EXPECT_EQ(played.err.find(unopenedLine) == std::string::npos, soundtrack.decodes) << played.err;
}

INSTANTIATE_TEST_SUITE_P(Soundtracks, BrokenSoundtrackTest, testing::ValuesIn(brokenSoundtracks),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
