// The soundtrack module on MP3 files made at test time: byte rates, the position on the DemoClock
// and on OpenAL's null output, soundtracks that cannot be opened, and how the process ends.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "audio/soundtrack.h"
#include "clock/demo_clock.h"

namespace {

using namespace std::chrono_literals;

std::string dataPath(const std::string& name) {
    return OMBRA_TEST_DATA "/" + name;
}

// Test programs run side by side: each writes under a name of its own, then renames the file.
std::string makeOnce(const std::string& name, const std::string& commandWritingTo) {
    const std::string path = dataPath(name);
    if (!std::filesystem::exists(path)) {
        const std::string temp = path + ".part" + std::to_string(getpid());
        const std::string command = "(" + commandWritingTo + " " + temp + " && mv " + temp + " " +
                                    path + ") >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "could not make " << name;
    }
    return path;
}

// A tone encoded by lame, whose header lets the decoder give back exactly the samples put in.
std::string tone(const std::string& seconds, const std::string& rate, const std::string& channels) {
    return makeOnce("tone-" + seconds + "s-" + rate + "-" + channels + "ch.mp3",
                    "sox -n -r " + rate + " -c " + channels + " -t wav - synth " + seconds +
                        " sine 440 | lame --quiet -");
}

constexpr DemoClock::Ticks startTicks = 5'000'000'000;

TEST(SoundtrackSilent, FollowsTheDemoClockAtTheByteRateInWholeSampleFramesUpToTheLength) {
    EXPECT_EQ(Soundtrack::byteRate(tone("30", "44100", "2").c_str()), 176400u);
    EXPECT_EQ(Soundtrack::byteRate(tone("2", "48000", "1").c_str()), 96000u);
    Soundtrack::forceSilent();
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream(tone("30", "44100", "2").c_str());
    const auto positionAt = [stream](double seconds) {
        DemoClock::setManualTime(startTicks + static_cast<DemoClock::Ticks>(seconds * 1e7 + 0.5));
        return Soundtrack::position(stream);
    };
    EXPECT_EQ(positionAt(1.0), 0u) << "nothing is heard before play";
    DemoClock::setManualTime(startTicks);
    Soundtrack::play(stream);
    EXPECT_EQ(positionAt(0.0001), 16u); // 17.64 bytes: four whole sample frames
    EXPECT_EQ(positionAt(0.5), 88200u);
    // The long file's length is known right after play, though it is decoded while it plays.
    EXPECT_EQ(positionAt(100.0), 30u * 176400);
    Soundtrack::release();
    DemoClock::setSource(nullptr);
}

TEST(SoundtrackOnNullOutput, AdvancesWithNobodyCallingAndStopsAtTheLength) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream(tone("1", "44100", "2").c_str());
    Soundtrack::play(stream);
    const auto start = std::chrono::steady_clock::now();
    // play() queues 150 ms; the rest must come from the module itself while we sleep. The null
    // output mixes in steps of 1024 samples and catches up in bursts when its thread runs late.
    std::this_thread::sleep_for(450ms);
    const std::chrono::duration<double> passed = std::chrono::steady_clock::now() - start;
    EXPECT_NEAR(Soundtrack::position(stream) / 176400.0, passed.count(), 0.12);
    for (int i = 0; i < 150 && Soundtrack::position(stream) < 176400; ++i) {
        std::this_thread::sleep_for(20ms);
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(Soundtrack::position(stream), 176400u);
    Soundtrack::release();
}

TEST(SoundtrackOnNullOutput, UnreadableSoundtrackGivesOneLineStreamZeroAndPositionZero) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    Soundtrack::initOutput();
    std::string noise(64 * 1024, '\0');
    std::generate(noise.begin(), noise.end(), std::mt19937(20240611));
    std::ofstream(dataPath("random.mp3"), std::ios::binary) << noise;
    std::ofstream(dataPath("empty.mp3"), std::ios::binary).flush();
    mkdir(dataPath("directory.mp3").c_str(), 0755);
    mkfifo(dataPath("pipe.mp3").c_str(), 0644); // opening it for reading would wait for a writer
    makeOnce("wave.mp3", "sox -n -r 44100 -c 2 -t wav - synth 1 sine 440 >");
    for (const char* name :
         {"missing.mp3", "empty.mp3", "directory.mp3", "random.mp3", "pipe.mp3", "wave.mp3"}) {
        const std::string path = dataPath(name);
        EXPECT_FALSE(Soundtrack::byteRate(path.c_str()).has_value()) << name;
        testing::internal::CaptureStderr();
        const Soundtrack::Stream stream = Soundtrack::openStream(path.c_str());
        Soundtrack::play(stream);
        EXPECT_EQ(Soundtrack::position(stream), 0u) << name;
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  path + ": soundtrack could not be opened; playing without music\n");
        EXPECT_EQ(stream, 0u) << name;
    }
    Soundtrack::release();
}

// The production ends without release(), while playing or while a long file's length is being
// measured: in a fresh process each, so that OpenAL starts from scratch; an alarm catches a hang.
void exitWithoutRelease(bool silent) {
    alarm(20);
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (silent) {
        Soundtrack::forceSilent();
    }
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream(tone("30", "44100", "2").c_str());
    Soundtrack::play(stream);
    std::this_thread::sleep_for(silent ? 0ms : 150ms);
    std::exit(stream != 0 && (silent || Soundtrack::position(stream) > 0) ? 0 : 3);
}

TEST(SoundtrackExitDeathTest, ExitWithoutReleaseEndsWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exitWithoutRelease(false), testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(exitWithoutRelease(true), testing::ExitedWithCode(0), "^$");
}

} // namespace
