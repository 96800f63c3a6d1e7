// The Windows programs under Wine on the tests' display, in a prefix of their own: options, the
// Linux renderer's pixels, the demo's window, keys and sound, and the renderer's ffmpeg process.
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "audio/built_in_track.h"
#include "e2e/capture_files.h"
#include "e2e/child_process.h"
#include "e2e/demo_window.h"
#include "e2e/tone_mp3.h"

namespace {

using namespace std::chrono_literals;

// The program cross-built into build-windows/, without Wine's own diagnostics.
std::vector<std::string> underWine(const std::string& name, std::vector<std::string> args = {}) {
    const std::string program = std::string(OMBRA_SOURCE_DIR) + "/build-windows/" + name + ".exe";
    args.insert(args.begin(), {"env", "WINEDEBUG=-all", "/usr/lib/wine/wine64", program});
    return args;
}

// The built-in soundtrack's bytes as the Linux build makes them.
std::vector<std::uint8_t> builtInSamples() {
    BuiltInTrack track;
    std::vector<std::uint8_t> all, piece;
    do {
        track.read(1 << 20, piece);
        all.insert(all.end(), piece.begin(), piece.end());
    } while (!piece.empty());
    return all;
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

// No sound device (Wine's driver off) and no Ombra.mp3: one line, the built-in soundtrack played
// silently on the clock. OpenAL's null output and early 0x1A bytes: the MP3 plays. Either way
// `r`, pressed between moving pictures, prints a growing position.
TEST(Windows, DemoPlaysInAWindowWithOrWithoutSoundDeviceAndEndsWithZeroOnEsc) {
    for (const bool withSound : {false, true}) {
        SCOPED_TRACE(withSound ? "null output, MP3 with 0x1A bytes" : "no device, no MP3");
        TempFolder folder;
        const PrivateDisplay xvfb(folder); // no other program's "OMBRA" window on it
        const std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(xvfb.name.c_str()),
                                                            XCloseDisplay);
        ASSERT_TRUE(runShell(withSound ? toneMp3Command("Ombra.mp3", "60") : ":", folder.path()));
        ChildProcess demo(underWine("ombra", {"--window", "640x480"}), folder.path(),
                          {xvfb.variable, withSound ? "ALSOFT_DRIVERS=null" : "ALSOFT_DRIVERS="});
        Window window = 0;
        const auto typed = [&](const char* key) {
            runProcess({"xdotool", "windowfocus", "--sync", std::to_string(window), "key", key},
                       ".", 60s, {xvfb.variable});
        };
        // Wine's own start-up takes seconds on a busy machine (tens where it must make a
        // prefix), all of it before the program's first line; from there a moving picture is
        // as quick as on Linux.
        ASSERT_TRUE(eventually([&] { return demo.outSoFar().find("Please wait.") == 0; }, 180s))
            << "Wine did not start the program";
        for (int press = 0; press < 4; ++press) {
            std::vector<unsigned long> before; // 20 pictures, each unlike the last, not all black
            const auto twentyMoves = [&, pictures = 0]() mutable {
                window = window ? window : findDemoWindow(xvfb.variable);
                std::vector<unsigned long> now =
                    window ? screenshot(x.get(), window).pixels : before;
                const bool moved = now != before && now != std::vector<unsigned long>(now.size());
                before = moved ? std::move(now) : before;
                return (pictures += moved) == 20;
            };
            ASSERT_TRUE(eventually(twentyMoves)) << "no moving picture";
            typed("r");
        }
        typed("Escape");
        const ProcessResult result = demo.wait(60s);
        EXPECT_EQ(result.exitCode, 0) << (result.timedOut ? "Esc did not end it" : result.err);
        // The places it looked in: the working directory, then the program's folder by its
        // Windows name.
        std::string programFolder = "Z:" OMBRA_SOURCE_DIR "/build-windows";
        std::replace(programFolder.begin(), programFolder.end(), '/', '\\');
        EXPECT_EQ(linuxLines(result.err),
                  withSound ? ""
                            : "Ombra.mp3 is in none of: the working directory, " + programFolder +
                                  ": playing OMBRA's own soundtrack, synthesised as it plays\n");
        const std::string out = linuxLines(result.out),
                          head = "Please wait.\n... ... ... ... ... ... ";
        ASSERT_EQ(out.substr(0, head.size()), head);
        std::istringstream printed(out.substr(head.size()));
        const std::vector<unsigned long> positions{std::istream_iterator<unsigned long>(printed),
                                                   {}};
        ASSERT_EQ(positions.size(), 4u) << out;
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << out;
        EXPECT_LT(positions.front(), positions.back()) << out;
    }
}

// Every eighth frame at 10 fps holds the Linux pixels, and every frame goes to the ffmpeg.exe on
// PATH (a stand-in counting what arrives), with the built-in soundtrack's samples byte for byte
// as Linux makes them; without ffmpeg.exe, one line says what to install.
TEST(Windows, RendererWritesTheLinuxPixelsAndFeedsFfmpegFromPathOrSaysInOneLineItIsMissing) {
    TempFolder folder;
    ASSERT_TRUE(runShell("mkdir bin && x86_64-w64-mingw32-gcc-posix -O -o bin/ffmpeg.exe " +
                             std::string(OMBRA_SOURCE_DIR) + "/tests/wine/stand_in_ffmpeg.c",
                         folder.path()));
    const std::map<std::uint64_t, std::uint64_t> recorded = recordedFrameHashes();
    std::string list;
    for (const auto& [frame, hash] : recorded) {
        list += (list.empty() ? "" : ",") + std::to_string(frame);
    }
    const ProcessResult fed =
        runProcess(underWine("ombra-capture", {"--out", "o", "--video", "v.mp4", "--fps", "10",
                                               "--seed", "1", "--frames", list, "--quiet"}),
                   folder.path(), 600s, {"WINEPATH=Z:" + folder.path() + "/bin"});
    ASSERT_EQ(fed.exitCode, 0) << fed.err;
    for (const auto& [frame, hash] : recorded) {
        EXPECT_EQ(pixelHash(readPng(folder / "o/" + frameFile(frame)).rows), hash) << frame;
    }
    EXPECT_EQ(filesIn(folder.path()), (std::set<std::string>{"bin", "fed.wav", "o", "v.mp4"}));
    const std::string fedWav = readFile(folder / "fed.wav");
    const std::vector<std::uint8_t> samples = builtInSamples();
    EXPECT_TRUE(
        fedWav.size() == 44 + samples.size() &&
        std::equal(samples.begin(), samples.end(), fedWav.begin() + 44,
                   [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }))
        << "ffmpeg.exe was given other samples than the Linux programs make";
    const std::string video = readFile(folder / "v.mp4");
    const std::uint64_t frames = recorded.rbegin()->first + 1;
    EXPECT_EQ(video.substr(0, video.find(':')),
              std::to_string(frames * 640 * 480 * 3 / 2) + " bytes");
    EXPECT_NE(video.find(" -video_size 640x480 "), std::string::npos) << video;

    ASSERT_TRUE(runShell("rm -r bin o v.mp4 fed.wav", folder.path()));
    const ProcessResult missing =
        runProcess(underWine("ombra-capture", {"--video", "v.mp4", "--frames", "0-9", "--quiet"}),
                   folder.path(), 300s);
    EXPECT_EQ(missing.exitCode, 1);
    const std::regex line("[^\n]*ffmpeg[^\n]*\n");
    const std::sregex_iterator lines(missing.err.begin(), missing.err.end(), line);
    EXPECT_EQ(std::distance(lines, std::sregex_iterator()), 1) << missing.err;
    EXPECT_EQ(filesIn(folder.path()), std::set<std::string>{});
}

} // namespace
