// The soundtrack module on MP3 files made at test time: byte rates, the position on OpenAL's null
// output and on the DemoClock, soundtracks that cannot be opened, and how the process ends.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <mpg123.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/demo_clock.h"
#include "app/soundtrack.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// ---- Test files ---------------------------------------------------------------------------

std::string dataPath(const std::string& name) {
    return std::string(OMBRA_TEST_DATA) + "/" + name;
}

bool exists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

bool runQuietly(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

// Test processes run side by side: each makes a file under a name of its own, then renames it
// into place, so nobody reads a half-written file.
std::string makeOnce(const std::string& name, const std::string& commandWritingTemp) {
    const std::string path = dataPath(name);
    if (!exists(path)) {
        const std::string temp = path + ".part" + std::to_string(getpid());
        const bool made =
            runQuietly(commandWritingTemp + " " + temp + " && mv " + temp + " " + path);
        EXPECT_TRUE(made) << "could not make " << name;
    }
    return path;
}

// A sine tone of `milliseconds` at `rate` Hz, mono or stereo, encoded by lame (whose header
// lets the decoder give back exactly the samples that went in).
std::string tone(int milliseconds, int rate, int channels) {
    const std::string name = "tone-" + std::to_string(milliseconds) + "ms-" + std::to_string(rate) +
                             "-" + std::to_string(channels) + "ch.mp3";
    return makeOnce(name, "sox -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) +
                              " -t wav - synth " + std::to_string(milliseconds / 1000.0) +
                              " sine 440 | lame --quiet -");
}

// Bytes of 16-bit samples a tone holds.
std::uint64_t toneBytes(int milliseconds, int rate, int channels) {
    return static_cast<std::uint64_t>(rate) * milliseconds / 1000 * channels * 2;
}

void writeFile(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes `name` once, under a temporary name first like makeOnce().
std::string writeOnce(const std::string& name, const std::vector<char>& bytes) {
    const std::string path = dataPath(name);
    if (!exists(path)) {
        const std::string temp = path + ".part" + std::to_string(getpid());
        writeFile(temp, bytes);
        std::rename(temp.c_str(), path.c_str());
    }
    return path;
}

// The first half of a tone's bytes and a little more: a file cut in the middle of a frame.
std::string cutTone(int milliseconds) {
    std::vector<char> bytes = readFile(tone(milliseconds, 44100, 2));
    bytes.resize(bytes.size() / 2 + 77);
    return writeOnce("cut-" + std::to_string(milliseconds) + "ms.mp3", bytes);
}

// Every byte libmpg123 decodes from a file, as 16-bit samples, straight through its own API.
std::uint64_t decodedBytes(const std::string& path) {
    mpg123_init();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(handle);
    mpg123_format(handle, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    std::uint64_t total = 0;
    if (mpg123_open(handle, path.c_str()) == MPG123_OK) {
        std::vector<unsigned char> samples(1 << 16);
        for (;;) {
            std::size_t done = 0;
            const int result = mpg123_read(handle, samples.data(), samples.size(), &done);
            total += done;
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
                break;
            }
        }
    }
    mpg123_delete(handle);
    return total;
}

std::string unopenedLine(const std::string& path) {
    return path + ": soundtrack could not be opened; playing without music\n";
}

// Files that are no soundtrack: each must give the one line and no stream.
std::vector<std::string> unreadableSoundtracks() {
    const std::string empty = writeOnce("empty.mp3", {});
    std::mt19937 generator(20240611);
    std::vector<char> noise(64 * 1024);
    for (char& byte : noise) {
        byte = static_cast<char>(generator());
    }
    const std::string randomBytes = writeOnce("random.mp3", noise);
    const std::string wave =
        makeOnce("wave.mp3", "sox -n -r 44100 -c 2 -t wav - synth 1 sine 440 >");
    const std::string directory = dataPath("directory.mp3");
    mkdir(directory.c_str(), 0755);
    const std::string pipe = dataPath("pipe.mp3"); // opening it for reading would wait for a writer
    mkfifo(pipe.c_str(), 0644);
    return {dataPath("missing.mp3"), empty, directory, randomBytes, wave, pipe};
}

// ---- Byte rates ----------------------------------------------------------------------------

TEST(SoundtrackByteRate, IsTwoBytesPerSamplePerChannelAtTheFilesOwnRate) {
    EXPECT_EQ(Soundtrack::byteRate(tone(500, 44100, 2).c_str()), 176400u);
    EXPECT_EQ(Soundtrack::byteRate(tone(500, 48000, 1).c_str()), 96000u);
    EXPECT_EQ(Soundtrack::byteRate(cutTone(400).c_str()), 176400u);
    for (const std::string& path : unreadableSoundtracks()) {
        EXPECT_FALSE(Soundtrack::byteRate(path.c_str()).has_value()) << path;
    }
}

// ---- Silent play on the DemoClock ------------------------------------------------------------

constexpr DemoClock::Ticks startTicks = 5'000'000'000;
DemoClock::Ticks at(double seconds) {
    return startTicks + static_cast<DemoClock::Ticks>(seconds * DemoClock::ticksPerSecond + 0.5);
}

class SoundtrackSilent : public testing::Test {
  protected:
    void SetUp() override {
        Soundtrack::forceSilent();
        Soundtrack::initOutput();
        DemoClock::setManualTime(startTicks);
    }
    void TearDown() override {
        Soundtrack::release();
        DemoClock::setSource(nullptr);
    }

    static std::uint64_t positionAt(Soundtrack::Stream stream, double seconds) {
        DemoClock::setManualTime(at(seconds));
        return Soundtrack::position(stream);
    }
};

TEST_F(SoundtrackSilent, FollowsTheDemoClockAtTheByteRateInWholeSampleFramesUpToTheLength) {
    const Soundtrack::Stream stereo = Soundtrack::openStream(tone(3000, 44100, 2).c_str());
    const Soundtrack::Stream mono = Soundtrack::openStream(tone(2000, 48000, 1).c_str());
    ASSERT_NE(stereo, 0u);
    ASSERT_NE(mono, 0u);
    EXPECT_EQ(positionAt(stereo, 1.0), 0u) << "nothing is heard before play";

    DemoClock::setManualTime(startTicks);
    Soundtrack::play(stereo);
    Soundtrack::play(mono);
    EXPECT_EQ(positionAt(stereo, 0.0), 0u);
    EXPECT_EQ(positionAt(stereo, 0.0001), 16u); // 17.64 bytes: four whole stereo frames
    EXPECT_EQ(positionAt(mono, 0.0001), 8u);    // 9.6 bytes: four whole mono frames
    EXPECT_EQ(positionAt(stereo, 0.5), 88200u);
    EXPECT_EQ(positionAt(mono, 0.25), 24000u);
    EXPECT_EQ(positionAt(stereo, 2.5), 441000u);
    EXPECT_EQ(positionAt(stereo, 3.0), toneBytes(3000, 44100, 2));
    EXPECT_EQ(positionAt(stereo, 3.5), toneBytes(3000, 44100, 2));
    EXPECT_EQ(positionAt(mono, 1000.0), toneBytes(2000, 48000, 1));
    EXPECT_EQ(positionAt(stereo, -1.0), 0u) << "a clock set before the start has heard nothing";

    Soundtrack::play(stereo); // a second play() does not restart the stream
    EXPECT_EQ(positionAt(stereo, 1.0), 176400u);
}

TEST_F(SoundtrackSilent, KnowsTheExactLengthOfALongFileRightAfterPlay) {
    const Soundtrack::Stream stream = Soundtrack::openStream(tone(30000, 44100, 2).c_str());
    Soundtrack::play(stream);
    EXPECT_EQ(positionAt(stream, 100.0), toneBytes(30000, 44100, 2));
}

TEST_F(SoundtrackSilent, EndsACutFileWhereItsSamplesEnd) {
    const std::string path = cutTone(400);
    const std::uint64_t expected = decodedBytes(path);
    ASSERT_GT(expected, 0u);
    ASSERT_LT(expected, toneBytes(400, 44100, 2));
    const Soundtrack::Stream stream = Soundtrack::openStream(path.c_str());
    Soundtrack::play(stream);
    EXPECT_EQ(positionAt(stream, 0.05), 8820u);
    EXPECT_EQ(positionAt(stream, 10.0), expected);
}

TEST_F(SoundtrackSilent, MissingFileGivesAStreamWithoutEndWhenGivenAByteRate) {
    Soundtrack::forceSilent(176400);
    const std::string missing = dataPath("missing.mp3");
    testing::internal::CaptureStderr();
    const Soundtrack::Stream stream = Soundtrack::openStream(missing.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), unopenedLine(missing));
    ASSERT_NE(stream, 0u);
    Soundtrack::play(stream);
    EXPECT_EQ(positionAt(stream, 0.5), 88200u);
    EXPECT_EQ(positionAt(stream, 1000.0), 176'400'000u);

    Soundtrack::forceSilent(0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Soundtrack::openStream(missing.c_str()), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), unopenedLine(missing));
}

// ---- Playing on OpenAL's null output, in real time --------------------------------------------

// What is heard cannot be further into the stream than the time since play(), but for the null
// output mixing in steps of 1024 samples and catching up in bursts when its thread runs late.
constexpr double mixingSlack = 0.05;

class SoundtrackOnNullOutput : public testing::Test {
  protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        Soundtrack::initOutput();
    }
    void TearDown() override { Soundtrack::release(); }

    // Seconds of sound a position stands for.
    static double heardSeconds(std::uint64_t position, std::uint32_t byteRate) {
        return static_cast<double>(position) / byteRate;
    }
    static double secondsSince(Clock::time_point start) {
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    // Plays a stream from its start, polling until its position has stood still at its end for
    // 100 ms; every position on the way must be whole sample frames, never back, never past it.
    static void expectPlaysToItsEnd(const std::string& path, std::uint64_t length,
                                    std::uint32_t byteRate, std::uint32_t frameBytes) {
        const Soundtrack::Stream stream = Soundtrack::openStream(path.c_str());
        ASSERT_NE(stream, 0u);
        const Clock::time_point start = Clock::now();
        Soundtrack::play(stream);
        std::uint64_t last = 0;
        while (last < length && Clock::now() - start < 3s) {
            std::this_thread::sleep_for(5ms);
            const std::uint64_t now = Soundtrack::position(stream);
            ASSERT_GE(now, last);
            ASSERT_LE(now, length);
            ASSERT_EQ(now % frameBytes, 0u);
            ASSERT_LE(heardSeconds(now, byteRate), secondsSince(start) + mixingSlack);
            last = now;
        }
        EXPECT_EQ(last, length);
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(Soundtrack::position(stream), length);
    }
};

TEST_F(SoundtrackOnNullOutput, AdvancesAtTheByteRateWithNobodyCallingForHalfASecond) {
    for (const auto& [rate, channels] : {std::pair{44100, 2}, std::pair{48000, 1}}) {
        SCOPED_TRACE(std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels");
        const std::uint32_t byteRate = rate * channels * 2;
        const Soundtrack::Stream stream =
            Soundtrack::openStream(tone(3000, rate, channels).c_str());
        ASSERT_NE(stream, 0u);
        EXPECT_EQ(Soundtrack::position(stream), 0u);
        const Clock::time_point start = Clock::now();
        Soundtrack::play(stream);

        // play() queues 150 ms; the rest must come from the module itself while we sleep.
        std::this_thread::sleep_for(450ms);
        const double firstElapsed = secondsSince(start);
        const std::uint64_t first = Soundtrack::position(stream);
        EXPECT_NEAR(heardSeconds(first, byteRate), firstElapsed, 0.12);
        EXPECT_LE(heardSeconds(first, byteRate), secondsSince(start) + mixingSlack);

        std::this_thread::sleep_for(250ms);
        const double secondElapsed = secondsSince(start);
        const std::uint64_t second = Soundtrack::position(stream);
        EXPECT_NEAR(heardSeconds(second - first, byteRate), secondElapsed - firstElapsed, 0.06);
        Soundtrack::release();
        Soundtrack::initOutput();
    }
}

TEST_F(SoundtrackOnNullOutput, StopsAtTheLengthOfTheStream) {
    expectPlaysToItsEnd(tone(300, 44100, 2), toneBytes(300, 44100, 2), 176400, 4);
    expectPlaysToItsEnd(tone(250, 48000, 1), toneBytes(250, 48000, 1), 96000, 2);
}

TEST_F(SoundtrackOnNullOutput, PlaysACutFileUpToItsCut) {
    const std::string path = cutTone(400);
    expectPlaysToItsEnd(path, decodedBytes(path), 176400, 4);
}

TEST_F(SoundtrackOnNullOutput, UnreadableSoundtrackGivesOneLineAndPositionZero) {
    for (const std::string& path : unreadableSoundtracks()) {
        SCOPED_TRACE(path);
        testing::internal::CaptureStderr();
        const Soundtrack::Stream stream = Soundtrack::openStream(path.c_str());
        Soundtrack::play(stream);
        const std::uint64_t position = Soundtrack::position(stream);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), unopenedLine(path));
        EXPECT_EQ(stream, 0u);
        EXPECT_EQ(position, 0u);
    }
    EXPECT_EQ(Soundtrack::position(0), 0u);
}

TEST_F(SoundtrackOnNullOutput, ReleaseTwiceIsHarmlessAndTheOutputOpensAgain) {
    const Soundtrack::Stream before = Soundtrack::openStream(tone(3000, 44100, 2).c_str());
    Soundtrack::play(before);
    Soundtrack::release();
    Soundtrack::release();
    EXPECT_EQ(Soundtrack::position(before), 0u);

    Soundtrack::initOutput();
    const Soundtrack::Stream after = Soundtrack::openStream(tone(3000, 44100, 2).c_str());
    EXPECT_NE(after, before);
    Soundtrack::play(after);
    std::this_thread::sleep_for(200ms);
    EXPECT_GT(Soundtrack::position(after), 0u);
}

// ---- How the process ends -----------------------------------------------------------------------
// Each case runs in a fresh process (the test program started again) so that OpenAL starts from
// scratch; an alarm turns a hang into a failure.

constexpr unsigned hangSeconds = 20;

void playOnNullOutputThenExit() {
    alarm(hangSeconds);
    setenv("ALSOFT_DRIVERS", "null", 1);
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream(tone(3000, 44100, 2).c_str());
    Soundtrack::play(stream);
    std::this_thread::sleep_for(150ms);
    std::exit(Soundtrack::position(stream) > 0 ? 0 : 3); // the production's end: no release()
}

void measureSilentlyThenExit() {
    alarm(hangSeconds);
    Soundtrack::forceSilent();
    const Soundtrack::Stream stream = Soundtrack::openStream(tone(30000, 44100, 2).c_str());
    Soundtrack::play(stream);
    std::exit(stream != 0 ? 0 : 3); // the length is still being measured
}

void releaseTwiceThenExit() {
    alarm(hangSeconds);
    Soundtrack::release(); // before anything
    setenv("ALSOFT_DRIVERS", "null", 1);
    Soundtrack::initOutput();
    Soundtrack::play(Soundtrack::openStream(tone(3000, 44100, 2).c_str()));
    Soundtrack::release();
    Soundtrack::release();
    std::exit(0);
}

// An ALSA output whose configuration cannot be read: alcOpenDevice fails, as on a machine
// without sound, and ALSA and OpenAL complain on stderr while it tries.
void playWithoutAnOutputThenExit() {
    alarm(hangSeconds);
    setenv("ALSOFT_DRIVERS", "alsa", 1);
    setenv("ALSA_CONFIG_PATH", "/nonexistent/alsa.conf", 1);
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream(tone(3000, 44100, 2).c_str());
    DemoClock::setManualTime(startTicks);
    Soundtrack::play(stream);
    DemoClock::setManualTime(at(1.0));
    const bool secondHeard = Soundtrack::position(stream) == 176400;
    DemoClock::setManualTime(at(60.0));
    const bool endHeard = Soundtrack::position(stream) == toneBytes(3000, 44100, 2);
    std::exit(secondHeard && endHeard ? 0 : 3);
}

void openMissingSoundtrackThenExit() {
    alarm(hangSeconds);
    setenv("ALSOFT_DRIVERS", "null", 1);
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream("missing-soundtrack.mp3");
    Soundtrack::play(stream);
    std::exit(stream == 0 && Soundtrack::position(stream) == 0 ? 0 : 3);
}

testing::Matcher<const std::string&> stderrIs(const std::string& text) {
    return testing::Matcher<const std::string&>(text);
}

class SoundtrackExitDeathTest : public testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(SoundtrackExitDeathTest, ExitWhilePlayingWithoutReleaseEndsWithStatusZero) {
    EXPECT_EXIT(playOnNullOutputThenExit(), testing::ExitedWithCode(0), stderrIs(""));
    EXPECT_EXIT(measureSilentlyThenExit(), testing::ExitedWithCode(0), stderrIs(""));
}

TEST_F(SoundtrackExitDeathTest, ReleaseBeforeAnythingAndTwiceThenExitEndsWithStatusZero) {
    EXPECT_EXIT(releaseTwiceThenExit(), testing::ExitedWithCode(0), stderrIs(""));
}

TEST_F(SoundtrackExitDeathTest, WithoutAnOutputDevicePlaysSilentlyOnTheDemoClock) {
    EXPECT_EXIT(playWithoutAnOutputThenExit(), testing::ExitedWithCode(0), stderrIs(""));
}

TEST_F(SoundtrackExitDeathTest, MissingSoundtrackIsTheOnlyLineOnStderr) {
    EXPECT_EXIT(openMissingSoundtrackThenExit(), testing::ExitedWithCode(0),
                stderrIs(unopenedLine("missing-soundtrack.mp3")));
}

} // namespace
