// The soundtrack module on MP3 tones made at test time: the position on the DemoClock and on
// OpenAL's null output, and the process ending without releasing it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "audio/mp3_stream.h"
#include "audio/soundtrack.h"
#include "clock/demo_clock.h"
#include "e2e/child_process.h"
#include "e2e/tone_mp3.h"

namespace {

using namespace std::chrono_literals;

// A lame tone (0x1A bytes early in its tag), decoded to exactly its samples; written under a name
// of its own, then renamed.
std::string tone(const std::string& seconds, const std::string& rate, const std::string& channels) {
    const std::string path =
        OMBRA_TEST_DATA "/tone1a-" + seconds + "s-" + rate + "-" + channels + "ch.mp3";
    const std::string part = path + ".part" + std::to_string(getpid());
    const std::string command =
        toneMp3Command(part, seconds, rate, channels) + " && mv " + part + " " + path;
    EXPECT_TRUE(std::filesystem::exists(path) || std::system(command.c_str()) == 0) << command;
    std::string head(128, '\0');
    std::ifstream(path, std::ios::binary).read(head.data(), head.size());
    EXPECT_NE(head.find('\x1a'), std::string::npos) << "no early 0x1A byte in " << path;
    return path;
}

// The death tests run in a fresh run of this program each, so that OpenAL starts from scratch.
TEST(SoundtrackSilent, FollowsTheDemoClockAtTheByteRateInWholeSampleFramesUpToTheLength) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    constexpr DemoClock::Ticks start = 5'000'000'000;
    Soundtrack::forceSilent();
    Soundtrack::initOutput();
    const Soundtrack::Stream stereo = Soundtrack::openStream(tone("30", "44100", "2").c_str());
    const std::string monoFile = tone("2", "22050", "1");
    const Soundtrack::Stream mono = Soundtrack::openStream(monoFile.c_str());
    // The production ends without release(): here while the long file's length is measured.
    EXPECT_EXIT(std::exit(0), testing::ExitedWithCode(0), "^$");
    const auto positionAt = [](Soundtrack::Stream stream, double seconds) {
        DemoClock::setManualTime(start + static_cast<DemoClock::Ticks>(seconds * 1e7 + 0.5));
        return Soundtrack::position(stream);
    };
    EXPECT_EQ(positionAt(stereo, 1.0), 0u) << "nothing is heard before play";
    DemoClock::setManualTime(start);
    Soundtrack::play(stereo);
    Soundtrack::play(mono);
    EXPECT_EQ(positionAt(stereo, 0.0001), 16u); // 17.64 bytes: four whole sample frames
    EXPECT_EQ(positionAt(stereo, 0.5), 88200u);
    // The long file's length is known right after play, though it is decoded while it plays.
    EXPECT_EQ(positionAt(stereo, 100.0), 30u * 176400);
    EXPECT_EQ(positionAt(mono, 100.0), Mp3Stream::open(monoFile.c_str())->decodeToEnd());
    Soundtrack::release();
    DemoClock::setSource(nullptr);
}

// A DemoClock at twice the real rate: an output is never ahead of it, and only the output's own
// clock brings the position to its length in real time.
DemoClock::Ticks twiceRealTime() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return 2 * static_cast<DemoClock::Ticks>(
                   std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() / 100);
}

TEST(SoundtrackOnNullOutput, PlaysToItsLengthUnfedAndNeverAheadOfTimeAndIsLostFarAheadOfIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("ALSOFT_DRIVERS", "null", 1);
    Soundtrack::initOutput();
    const Soundtrack::Stream stream = Soundtrack::openStream(tone("1", "44100", "2").c_str());
    const auto start = std::chrono::steady_clock::now();
    DemoClock::setSource(twiceRealTime);
    Soundtrack::play(stream);
    EXPECT_EXIT(std::exit(0), testing::ExitedWithCode(0), "^$") << "ending while it plays";
    // play() queues 150 ms; the rest must come from the module itself while we only ask.
    ASSERT_TRUE(eventually([stream] { return Soundtrack::position(stream) >= 176400; }));
    EXPECT_EQ(Soundtrack::position(stream), 176400u);
    // What was heard, not what was queued: a busy machine only makes this take longer.
    EXPECT_GT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.9);
    Soundtrack::release();

    // On a clock that stands still the output soon sounds more than a quarter second ahead of the
    // time played: it is taken as lost, and the music goes on silently from the time played.
    constexpr DemoClock::Ticks still = 7'000'000'000;
    DemoClock::setManualTime(still);
    Soundtrack::initOutput();
    const Soundtrack::Stream lost = Soundtrack::openStream(tone("1", "44100", "2").c_str());
    Soundtrack::play(lost);
    std::uint64_t most = 0, now = 0;
    ASSERT_TRUE(eventually(
        [&] { return (most = std::max(most, now = Soundtrack::position(lost))) > 0 && now == 0; },
        20s));
    EXPECT_LE(most, 44100u) << "a quarter second ahead is allowed, no more";
    DemoClock::setManualTime(still + 5'000'000);
    EXPECT_EQ(Soundtrack::position(lost), 88200u);
    DemoClock::setSource(nullptr);
    Soundtrack::release();
}

// Found by fuzzing: believing a header claiming more frames than bytes, libmpg123 spun for seconds.
TEST(Mp3Stream, IgnoresAHeaderClaimingMoreFramesThanTheFileHasBytes) {
    const std::string lying = OMBRA_TEST_DATA "/lying-" + std::to_string(getpid()) + ".mp3";
    std::ifstream toneFile(tone("1", "44100", "2"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(toneFile)), {});
    const std::size_t header = bytes.find("Info"); // its frame count follows the flags
    ASSERT_NE(header, std::string::npos);
    bytes.replace(header + 8, 4, "\xf0\0\0\0", 4);
    std::ofstream(lying, std::ios::binary) << bytes;
    const std::optional<std::uint64_t> scanned = Mp3Stream::open(lying.c_str())->scanLength();
    const std::uint64_t decoded = Mp3Stream::open(lying.c_str())->decodeToEnd();
    EXPECT_EQ(scanned, decoded);
    EXPECT_EQ(decoded % (1152 * 4), 0u) << "whole frames of 1152 stereo samples";
    EXPECT_GT(decoded, 176400u) << "the encoder's delay and padding are kept";
    std::filesystem::remove(lying);
}

// A named pipe is no music file, and saying so must not wait for something to write into it.
TEST(Mp3Stream, RefusesANamedPipeWithoutWaitingForAWriter) {
    const std::string pipe = OMBRA_TEST_DATA "/pipe-" + std::to_string(getpid()) + ".mp3";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Mp3Stream::open(pipe.c_str()), nullptr);
    std::filesystem::remove(pipe);
}

} // namespace
