// The built-in soundtrack through the real programs: the demo without Ombra.mp3 says so and plays
// it on its output; --silent and a missing named file play without music; the renderer hands
// ffmpeg the same samples, whose accents open the fifteen pulse windows, and makes a video of
// the loudness asked for.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <vector>

#include <gtest/gtest.h>

#include "capture_files.h"
#include "demo_window.h"
#include "shapes/pulses.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The data folders a test's programs look in, none of the machine's user, and one more variable.
Environment noDataFolders(const TempFolder& folder, const std::string& more) {
    return {"XDG_DATA_HOME=" + folder / "home", "XDG_DATA_DIRS=/none", more};
}

// What a program run with noDataFolders says when it finds no Ombra.mp3, before its last words.
std::string notFound(const TempFolder& folder) {
    return "Ombra.mp3 is in none of: the working directory, " OMBRA_BUILD_DIR ", " +
           folder / "home/ombra" + ", /none/ombra, /usr/share/games/ombra";
}
constexpr double bytesPerSecond = 176400.0;

// The demo in a window on a private display, logging the samples it gives its sound output.
std::vector<std::string> loggedDemo(const TempFolder& folder, std::vector<std::string> options) {
    options.insert(options.begin(),
                   {"env", "LD_PRELOAD=" + builtProgram("tests/libpcm_log_shim.so"),
                    "OMBRA_PCM_LOG=" + folder / "pcm", "stdbuf", "-o0", builtProgram("ombra"),
                    "--window"});
    return options;
}

struct DemoUnderTest {
    DemoUnderTest(const TempFolder& folder, const std::vector<std::string>& options)
        : xvfb(folder),
          demo(loggedDemo(folder, options), folder.path(), noDataFolders(folder, xvfb.variable)) {}
    double position() { return printedPosition(demo, xvfb.variable); }
    void press(const char* key) { pressKey(xvfb.variable, key); }

    PrivateDisplay xvfb;
    ChildProcess demo;
};

// No Ombra.mp3: one line, the music position runs at 176.4 thousand bytes a second, Esc ends it
// with 0, and what the sound output was given is the built-in soundtrack from its first byte.
TEST(BuiltInSoundtrack, TheDemoWithoutOmbraMp3SaysSoAndPlaysItOnItsOutputAtItsByteRate) {
    TempFolder folder;
    DemoUnderTest run(folder, {});
    const std::string builtInLine =
        notFound(folder) + ": playing OMBRA's own soundtrack, synthesised as it plays\n";
    ASSERT_TRUE(eventually([&] { return run.demo.errSoFar() == builtInLine; }, 60s))
        << run.demo.errSoFar();
    EXPECT_EQ(run.demo.outSoFar(), "Please wait.\n... ... ... ... ... ... ");
    const double first = run.position();
    const auto firstAt = Clock::now();
    double last = first;
    std::chrono::duration<double> between{};
    while (!testing::Test::HasFailure() && between.count() < 3) {
        const double now = run.position();
        between = Clock::now() - firstAt;
        EXPECT_GE(now, last) << "went back";
        last = now;
    }
    EXPECT_NEAR((last - first) / between.count(), 176.4, 176.4 * 0.15);
    run.press("Escape");
    const ProcessResult result = run.demo.wait(30s);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, builtInLine);

    const std::string given = readFile(folder / "pcm");
    ASSERT_GT(given.size(), static_cast<std::size_t>(3 * bytesPerSecond));
    EXPECT_TRUE(builtInTrackBytes().compare(0, given.size(), given) == 0)
        << "the output was given other samples";
}

// --silent, and a file asked for that is missing: no music, the position stays 0, as before.
TEST(BuiltInSoundtrack, SilentOrAMissingFileAskedForPlaysWithoutMusic) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--silent"}, ""},
        {{"--soundtrack", "missing.mp3"},
         "missing.mp3: soundtrack could not be opened; playing without music\n"}};
    for (const auto& [options, line] : cases) {
        SCOPED_TRACE(options.front());
        TempFolder folder;
        DemoUnderTest run(folder, options);
        ASSERT_TRUE(eventually([&] { return run.demo.outSoFar().size() == 37; }, 60s))
            << "all six built";
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(run.position(), 0);
        }
        run.press("Escape");
        const ProcessResult result = run.demo.wait(30s);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, line);
        EXPECT_EQ(readFile(folder / "pcm"), "") << "nothing was played";
    }
}

// Interleaved 16-bit stereo samples from a WAV file of 16-bit PCM at 44.1 kHz.
std::vector<std::int16_t> wavSamples(const std::string& bytes) {
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    const auto field = [&](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
        }
        return value;
    };
    EXPECT_EQ(field(22, 2), 2u);     // channels
    EXPECT_EQ(field(24, 4), 44100u); // rate
    EXPECT_EQ(field(34, 2), 16u);    // bits
    EXPECT_EQ(bytes.substr(36, 4), "data");
    std::vector<std::int16_t> samples(field(40, 4) / 2);
    EXPECT_EQ(bytes.size(), 44 + 2 * samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(field(44 + 2 * i, 2));
    }
    return samples;
}

// Where the short-time energy jumps: 5 ms frames (by the sample clock) holding more than four
// times the mean of the four before them and above -40 dBFS; the seconds at which they start.
std::vector<double> onsets(const std::vector<std::int16_t>& stereo) {
    const std::size_t frames = stereo.size() / 2;
    std::vector<double> energy;
    for (std::size_t k = 0; (k + 1) * 441 / 2 <= frames; ++k) {
        double sum = 0;
        const std::size_t from = k * 441 / 2, to = (k + 1) * 441 / 2;
        for (std::size_t i = from; i < to; ++i) {
            sum += double(stereo[2 * i]) * stereo[2 * i] +
                   double(stereo[2 * i + 1]) * stereo[2 * i + 1];
        }
        energy.push_back(sum / (2.0 * (to - from)));
    }
    const double floor = std::pow(32768.0 * 0.01, 2);
    std::vector<double> found;
    for (std::size_t k = 4; k < energy.size(); ++k) {
        const double before = (energy[k - 4] + energy[k - 3] + energy[k - 2] + energy[k - 1]) / 4;
        if (energy[k] > floor && energy[k] > 4 * before) {
            found.push_back(k * 0.005);
        }
    }
    return found;
}

// How many of the fifteen pulse windows have an onset within 10 ms of the moment they open (the
// first position inside them).
int windowsWithAnOnset(const std::vector<double>& times) {
    int hit = 0;
    const auto check = [&](const auto& windows) {
        for (const PulseWindow& window : windows) {
            const double opens = (window.low + 1) * 1000 / bytesPerSecond;
            hit += std::any_of(times.begin(), times.end(),
                               [&](double t) { return std::abs(t - opens) <= 0.010; });
        }
    };
    check(pullPulseWindows);
    check(scalePulseWindows);
    return hit;
}

// The figure after `label` in ffmpeg's ebur128 summary.
double summaryFigure(const std::string& log, const std::string& label) {
    const std::string summary = log.substr(std::min(log.rfind("Summary:"), log.size()));
    std::smatch found;
    return std::regex_search(summary, found, std::regex(label + R"(:\s+(-?[0-9.]+))"))
               ? std::stod(found[1])
               : NAN;
}

// The whole production rendered without Ombra.mp3. A stand-in on PATH keeps the sound file the
// renderer gives ffmpeg and runs the real one, so the test reads the samples ffmpeg was fed.
TEST(BuiltInSoundtrack, TheRendererFeedsFfmpegItsSamplesWhoseAccentsOpenThePulseWindows) {
    TempFolder folder;
    ASSERT_TRUE(
        runShell("mkdir bin && printf '%s\\n' '#!/bin/sh' "
                 "'for a; do case $a in file:*.wav) cp \"${a#file:}\" fed.wav; echo \"${a#file:}\" "
                 "> fed.path;; esac; done' "
                 "'exec /usr/bin/ffmpeg \"$@\"' > bin/ffmpeg && chmod +x bin/ffmpeg",
                 folder.path()));
    // Frames 109 and 179 fall in the first pull and the first scale window.
    const std::vector<std::string> inWindows{"--fps",  "2", "--frames", "109,179",
                                             "--seed", "1", "--quiet"};
    std::vector<std::string> args{"--video", "v.mkv", "--out", "frames"};
    args.insert(args.end(), inWindows.begin(), inWindows.end());
    const ProcessResult rendered =
        runCapture(args, folder.path(),
                   noDataFolders(folder, "PATH=" + folder / "bin" + ":" + std::getenv("PATH")));
    ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
    EXPECT_EQ(rendered.err, "ombra-capture: " + notFound(folder) +
                                ": the video carries OMBRA's own soundtrack\n");
    EXPECT_EQ(filesIn(folder.path()),
              (std::set<std::string>{"bin", "fed.path", "fed.wav", "frames", "v.mkv"}));
    const std::string soundFile = readFile(folder / "fed.path");
    ASSERT_FALSE(soundFile.empty());
    EXPECT_FALSE(std::filesystem::exists(soundFile.substr(0, soundFile.size() - 1)))
        << soundFile << " is left behind";

    const std::string fed = readFile(folder / "fed.wav");
    ASSERT_GT(fed.size(), 44u);
    EXPECT_TRUE(fed.substr(44) == builtInTrackBytes())
        << "ffmpeg was fed other samples than the demo plays";
    const std::vector<std::int16_t> samples = wavSamples(fed);
    ASSERT_GT(samples.size() / 2, 137u * 44100) << "shorter than the production";

    EXPECT_EQ(windowsWithAnOnset(onsets(samples)), 15);
    std::vector<std::int16_t> late(2 * 2205, 0); // 50 ms later
    late.insert(late.end(), samples.begin(), samples.end());
    EXPECT_LT(windowsWithAnOnset(onsets(late)), 15) << "the test would miss misplaced accents";

    double sum[2] = {}, difference = 0, total = 0;
    for (std::size_t i = 0; i < samples.size(); i += 2) {
        for (int c = 0; c < 2; ++c) {
            EXPECT_TRUE(samples[i + c] > -32767 && samples[i + c] < 32767) << "clipped at " << i;
            sum[c] += samples[i + c];
            total += double(samples[i + c]) * samples[i + c];
        }
        difference += std::pow(double(samples[i]) - samples[i + 1], 2);
        if (testing::Test::HasFailure()) {
            break;
        }
    }
    for (const double channelSum : sum) {
        EXPECT_LT(std::abs(channelSum / (samples.size() / 2)), 0.001 * 32768) << "DC";
    }
    EXPECT_GT(difference, 0.01 * total) << "the stereo image is collapsed to mono";

    const ProcessResult measured = runProcess(
        {"ffmpeg", "-nostats", "-i", "v.mkv", "-af", "ebur128=peak=true", "-f", "null", "-"},
        folder.path());
    const double loudness = summaryFigure(measured.err, "I"),
                 peak = summaryFigure(measured.err, "Peak");
    EXPECT_NEAR(loudness, -16, 1) << measured.err;
    EXPECT_LE(peak, -1) << measured.err;

    // --silent throbs as the music does: as it did without a soundtrack file before.
    args = {"--silent", "--out", "silent"};
    args.insert(args.end(), inWindows.begin(), inWindows.end());
    ASSERT_EQ(runCapture(args, folder.path()).exitCode, 0);
    for (const char* frame : {"frame_000109.png", "frame_000179.png"}) {
        EXPECT_TRUE(readFile(folder / "silent/" + frame) == readFile(folder / "frames/" + frame))
            << frame;
    }
}

} // namespace
