// The demo on an X display of its own: console output, keys, no audio device, a lost one and one
// that comes back, its frame rate and figures to its end, broken soundtracks on the demo and
// through the offline renderer, and the display going with the test program however it ends.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include "capture_files.h"
#include "demo_window.h"
#include "tone_mp3.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

// How the first frame ends a line about a soundtrack it did not open, or did not find and replaced
// by the built-in one.
const std::string withoutMusic = "; playing without music\n";
const std::string builtInMusic = ": playing OMBRA's own soundtrack, synthesised as it plays\n";

// Runs the demo on a private Xvfb server, with no data folders of the machine's user; from its
// first frame on (its soundtrack opened, or said unopened or replaced by the built-in one) xdotool
// runs `keys` in its window. A demo that goes on after Esc runs into the wait.
ProcessResult playDemo(const TempFolder& folder, std::vector<std::string> keys,
                       const std::vector<std::string>& command = {builtProgram("ombra")}) {
    const int opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    inotify_add_watch(opens, folder.path().c_str(), IN_OPEN);
    const PrivateDisplay xvfb(folder);
    ChildProcess demo(command, folder.path(),
                      {xvfb.variable, "XDG_DATA_HOME=" + folder / "home", "XDG_DATA_DIRS=/none"});
    char events[4096];
    const auto firstFrame = [&] {
        const std::string err = demo.errSoFar();
        return read(opens, events, sizeof events) > 0 ||
               err.find(withoutMusic) != std::string::npos ||
               err.find(builtInMusic) != std::string::npos;
    };
    EXPECT_TRUE(eventually(firstFrame, 40s)) << "the demo never reached its first frame";
    close(opens);

    keys.insert(keys.begin(), {"xdotool", "search", "--sync", "--name", "^OMBRA$", "windowfocus",
                               "--sync", "%1"});
    const ChildProcess typist(keys, folder.path(), {xvfb.variable});
    return demo.wait(30s);
}

// `r` prints the position in thousands of bytes (176.4 a second); `R` nothing. Esc comes 7 s in,
// in Scene 1's outro. No ALSOFT_DRIVERS, no sound card: the music, a file named by --soundtrack,
// plays silently on the clock.
TEST(Demo, KeysPrintTheMusicPositionAndEscEndsSceneOnesOutroAtOnceWithoutAudioDevice) {
    TempFolder folder;
    ASSERT_TRUE(runShell(toneMp3Command("tone.mp3", "20"), folder.path()));
    const ProcessResult result = playDemo(
        folder,
        {"key", "r", "R", "shift+r", "r", "sleep", "1.5", "key", "r", "sleep", "5.5", "key",
         "Escape"},
        {"env", "-u", "ALSOFT_DRIVERS", builtProgram("ombra"), "--soundtrack", "tone.mp3"});

    EXPECT_EQ(result.exitCode, 0) << (result.timedOut ? "Esc did not end the demo" : result.err);
    std::smatch numbers;
    const std::regex printed("Please wait\\.\n(\\.\\.\\. ){6}([0-9]+) ([0-9]+) ([0-9]+) ");
    ASSERT_TRUE(std::regex_match(result.out, numbers, printed)) << result.out;
    EXPECT_TRUE(std::stod(numbers[2]) <= std::stod(numbers[3]) &&
                std::stod(numbers[3]) < std::stod(numbers[4]));
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
    const std::string refusal = "Authorization required";
    const std::tuple<std::vector<std::string>, Environment, std::string> cases[] = {
        {{program}, {refusing.variable, "XAUTHORITY=/nonexistent"}, refusal},
        {rendering, {refusing.variable, "XAUTHORITY=/nonexistent"}, refusal},
        {{program}, {"DISPLAY=:65000"}, "failed to open display ':65000'\n"},
        {rendering, {"DISPLAY=:65000"}, "cannot open the X display \":65000\""},
        {{"env", "-u", "DISPLAY", renderer, "--out", "o"},
         {},
         "run it on a virtual one: xvfb-run -a "}};
    for (const auto& [command, environment, message] : cases) { // the message once in stderr
        SCOPED_TRACE(testing::PrintToString(command) + " " + testing::PrintToString(environment));
        const ProcessResult result = runProcess(command, folder.path(), 60s, environment);
        EXPECT_EQ(result.exitCode, 1) << result.err;
        const auto found = result.err.find(message);
        EXPECT_NE(found, std::string::npos) << result.err;
        EXPECT_EQ(result.err.find(message, found + 1), std::string::npos) << result.err;
        EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{"cookie"});
    }
}

// The state letter of process `id` in /proc ('Z' for one that has ended but is not reaped yet), and
// its parent's id; 0 for a process that is gone.
std::pair<char, pid_t> processState(pid_t id) {
    std::ifstream stat("/proc/" + std::to_string(id) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto end = line.rfind(')'); // the name in brackets may hold anything
    if (end == std::string::npos) {
        return {0, 0};
    }
    std::istringstream fields(line.substr(end + 1));
    char state = 0;
    pid_t parent = 0;
    fields >> state >> parent;
    return {state, parent};
}

// A test program killed outright, as ctest kills one that runs out of time, takes its private
// display with it.
TEST(Display, APrivateDisplayEndsWithTheTestProgramKilledOutright) {
    TempFolder folder;
    int names[2];
    ASSERT_EQ(pipe(names), 0);
    const pid_t program = fork();
    if (program == 0) { // stands for the test program; never returns into the tests
        try {
            const PrivateDisplay xvfb(folder);
            if (write(names[1], xvfb.name.data(), xvfb.name.size()) > 0) {
                for (;;) {
                    pause();
                }
            }
        } catch (...) {
        }
        _exit(1);
    }
    close(names[1]);
    char name[32] = {};
    ASSERT_GT(read(names[0], name, sizeof name - 1), 1) << "no display";
    close(names[0]);
    pid_t server = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string id = entry.path().filename().string();
        if (id.find_first_not_of("0123456789") == std::string::npos &&
            readFile(entry.path() / "comm") == "Xvfb\n" &&
            processState(std::stoi(id)).second == program) {
            server = std::stoi(id);
        }
    }
    ASSERT_NE(server, 0) << "no Xvfb started by the program for " << name;
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
    EXPECT_TRUE(eventually([&] {
        const char state = processState(server).first;
        return state == 0 || state == 'Z';
    })) << "Xvfb "
        << name << " outlived the program that started it";
}

// A PulseAudio server of the test's own with a null sink, on a socket in `folder`; empty when it
// does not start.
std::unique_ptr<ChildProcess> startSoundServer(const TempFolder& folder) {
    const std::string socket = folder / "pulse.socket";
    auto sound = std::make_unique<ChildProcess>(
        std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                 "--use-pid-file=no", "--disable-shm=yes", "-L", "module-null-sink",
                                 "-L",
                                 "module-native-protocol-unix auth-anonymous=1 socket=" + socket},
        folder.path(), Environment{"HOME=" + folder.path(), "XDG_RUNTIME_DIR=" + folder.path()});
    if (!eventually([&] { return std::filesystem::exists(socket); })) {
        ADD_FAILURE() << sound->errSoFar();
        return nullptr;
    }
    return sound;
}

// What the demo needs to play on that server and that display.
Environment soundServerClient(const TempFolder& folder, const PrivateDisplay& xvfb) {
    return {xvfb.variable, "ALSOFT_DRIVERS=pulse", "PULSE_SERVER=unix:" + folder / "pulse.socket"};
}

// The demo with --stats, its buffer swaps counted into `swaps` and its times into `times`.
std::vector<std::string> countedDemo(const TempFolder& folder) {
    return {"/usr/bin/time",
            "-f",
            "%e %U %S",
            "-o",
            folder / "times",
            "env",
            "LD_PRELOAD=" + builtProgram("tests/libswap_count_shim.so"),
            "OMBRA_SWAP_LOG=" + folder / "swaps",
            "stdbuf",
            "-o0",
            builtProgram("ombra"),
            "--stats"};
}

// The --stats line at the end of stderr: the frames it counted and the music's drift, last and
// largest, in milliseconds; and the swaps the demo made.
struct Summary {
    bool found = false;
    double frames = 0, driftAtEnd = 0, largestDrift = 0, swaps = 0;
};

Summary readSummary(const TempFolder& folder, const std::string& err) {
    const std::regex line("\\nombra: ([0-9]+) frames in .* later than 25\\.0 ms .* at 60 Hz\\); "
                          "music drift ([-+0-9]+) ms at the end, ([-+0-9]+) ms at most\\n$");
    std::smatch figures;
    Summary summary;
    if ((summary.found = std::regex_search(err, figures, line))) {
        summary.frames = std::stod(figures[1]);
        summary.driftAtEnd = std::stod(figures[2]);
        summary.largestDrift = std::stod(figures[3]);
    }
    std::ifstream(folder / "swaps") >> summary.swaps;
    return summary;
}

const std::string lostLine = "The sound output was lost; the production plays on silently.\n";
const std::string backLine =
    "The sound output is back; the music plays on where the production has reached.\n";

// The production played to its end on a sound server, to a soundtrack of 30 s, which simply ends:
// no output is lost. The server stopped for a while leaves the music behind the time played,
// which the summary printed at the end tells with a minus, taken while the music still sounded.
TEST(Demo, PlaysToItsEndPastAShorterSoundtrackAndTellsTheMusicBehindAtTheEnd) {
    TempFolder folder;
    ASSERT_TRUE(runShell(toneMp3Command("Ombra.mp3", "30"), folder.path()));
    const auto sound = startSoundServer(folder);
    ASSERT_TRUE(sound);
    const PrivateDisplay xvfb(folder);
    ChildProcess demo(countedDemo(folder), folder.path(), soundServerClient(folder, xvfb));
    ASSERT_TRUE(eventually([&] { return demo.outSoFar().size() == 37; })) << "all six built";
    ASSERT_TRUE(eventually([&] { return printedPosition(demo, xvfb.variable) > 350; }))
        << "2 s heard";
    kill(sound->id(), SIGSTOP); // for 0.8 s of wall time, well within the 2 s a stall may last
    std::this_thread::sleep_for(800ms);
    kill(sound->id(), SIGCONT);
    const ProcessResult result = demo.wait(400s);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const Summary summary = readSummary(folder, result.err);
    ASSERT_TRUE(summary.found) << result.err;
    EXPECT_EQ(summary.frames, summary.swaps);
    EXPECT_LE(summary.largestDrift, -500);
    EXPECT_LE(summary.driftAtEnd, -500);
    EXPECT_GT(summary.driftAtEnd, -5000) << "taken after the music ended";
    EXPECT_EQ(result.err.find(lostLine), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("AL lib"), std::string::npos) << result.err;
}

// A PulseAudio server killed mid-run and, 4 s later, started again on the same socket: the demo
// plays on silently, then the music comes back within 3 s of the new server's start (its null
// sink sounds the tone again) where the time has reached; `r` goes on at 176.4k/s throughout,
// never back or ahead; one line of ours for each change, none of OpenAL's. Frames keep to 60 Hz
// without spinning; --stats counts them.
TEST(Demo, PlaysOnInTimeWithoutItsSoundServerAndTakesItUpAgainWhenItComesBack) {
    TempFolder folder;
    ASSERT_TRUE(runShell(toneMp3Command("Ombra.mp3", "60"), folder.path()));
    auto sound = startSoundServer(folder);
    ASSERT_TRUE(sound);
    const PrivateDisplay xvfb(folder);
    const auto launched = Clock::now();
    const auto since = [&] { return Seconds(Clock::now() - launched).count(); };
    ChildProcess demo(countedDemo(folder), folder.path(), soundServerClient(folder, xvfb));
    ASSERT_TRUE(eventually([&] { return demo.outSoFar().size() == 37; })) << "all six built";
    std::vector<std::pair<double, double>> printed; // seconds since launch, thousands of bytes
    const auto pressR = [&] {                       // and read the position it prints
        const double pressed = since();
        const double position = printedPosition(demo, xvfb.variable);
        ASSERT_GE(position, 0) << "r printed nothing";
        EXPECT_GE(position, printed.empty() ? 0 : printed.back().second) << "went back";
        EXPECT_LE(position, 176.4 * since()) << "ahead of the time played";
        printed.emplace_back(pressed, position);
    };
    // Until `after` seconds past the press that followed the loss; then the rate since that press.
    const auto pressUntil = [&](std::size_t lost, double after) {
        do {
            pressR();
        } while (!HasFailure() && printed.back().first - printed[lost].first < after);
        return (printed.back().second - printed[lost].second) /
               (printed.back().first - printed[lost].first);
    };
    do {
        pressR(); // two seconds with sound
    } while (!HasFailure() && printed.back().second < 350);
    kill(sound->id(), SIGKILL);
    sound.reset();
    ASSERT_TRUE(eventually([&] { return demo.errSoFar().find(lostLine) != std::string::npos; }))
        << demo.errSoFar();
    const std::size_t lost = printed.size();
    EXPECT_NEAR(pressUntil(lost, 4), 176.4, 176.4 * 0.15) << "while silent";

    std::filesystem::remove(folder / "pulse.socket"); // the killed server's
    sound = startSoundServer(folder);
    ASSERT_TRUE(sound);
    const auto started = Clock::now();
    const ChildProcess monitor({"parec", "--server=unix:" + folder / "pulse.socket", "--raw",
                                "--format=s16le", "--rate=44100", "--channels=2", "-d",
                                "null.monitor"},
                               folder.path());
    ASSERT_TRUE(eventually([&] {
        return monitor.outSoFar().find_first_not_of('\0') != std::string::npos;
    })) << demo.errSoFar();
    const double silent = Seconds(Clock::now() - started).count();
    EXPECT_LT(silent, 3.0) << "the music came back late";
    RecordProperty("seconds_to_sound", std::to_string(silent));
    ASSERT_TRUE(eventually([&] { return demo.errSoFar().find(backLine) != std::string::npos; }));
    EXPECT_NEAR(pressUntil(lost, 10), 176.4, 176.4 * 0.15) << [&] {
        std::string presses; // seconds:thousands from the last before the loss on
        for (std::size_t i = lost - 1; i < printed.size(); ++i) {
            presses += std::to_string(printed[i].first) + ":" +
                       std::to_string(static_cast<int>(printed[i].second)) + " ";
        }
        return presses;
    }();

    pressKey(xvfb.variable, "Escape");
    const ProcessResult result = demo.wait(300s);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    double swaps = 0, swapSeconds = 0, wall = 0, user = 0, system = 0;
    std::ifstream(folder / "swaps") >> swaps >> swapSeconds;
    std::ifstream(folder / "times") >> wall >> user >> system;
    EXPECT_LE(swaps / swapSeconds, 60 * 1.03);
    EXPECT_LT(user + system, 0.75 * wall) << "it spins";
    const Summary summary = readSummary(folder, result.err);
    ASSERT_TRUE(summary.found) << result.err;
    EXPECT_EQ(summary.frames, swaps);
    for (const std::string& line : {lostLine, backLine}) {
        const auto found = result.err.find(line);
        EXPECT_TRUE(found != std::string::npos && found == result.err.rfind(line)) << result.err;
    }
    EXPECT_LT(result.err.find(lostLine), result.err.find(backLine));
    EXPECT_EQ(result.err.find("AL lib"), std::string::npos) << result.err;
}

struct BrokenSoundtrack {
    const char* name;
    const char* make; // the shell command that puts it in place
    bool decodes;     // plays up to its cut, 2 s in: also on the demo, slower than the renderer
};

const BrokenSoundtrack brokenSoundtracks[] = {
    {"Missing", ":", false},
    {"Truncated",
     "sox -n -r 44100 -c 2 -t wav - synth 5 sine 440 | lame --quiet - t.mp3 && "
     "head -c $(($(stat -c %s t.mp3) * 2 / 5)) t.mp3 > Ombra.mp3 && rm t.mp3",
     true},
    {"Empty", ": > Ombra.mp3", false},
    {"RenamedWav", "sox -n -r 44100 -c 2 -t wav Ombra.mp3 synth 2 sine 440", false},
    {"Directory", "mkdir Ombra.mp3", false},
};

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
    if (!soundtrack.decodes) {
        return;
    }
    const ProcessResult played = playDemo(folder, {"sleep", "3", "key", "Escape"});
    EXPECT_EQ(played.exitCode, 0) << (played.timedOut ? "the demo hung" : played.err);
    EXPECT_EQ(played.out, "Please wait.\n... ... ... ... ... ... ");
    EXPECT_EQ(played.err.find(withoutMusic), std::string::npos) << played.err;
    EXPECT_EQ(played.err.find(builtInMusic), std::string::npos) << played.err;
}

INSTANTIATE_TEST_SUITE_P(Soundtracks, BrokenSoundtrackTest, testing::ValuesIn(brokenSoundtracks),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
