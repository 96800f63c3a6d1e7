// The pull pulse on soundtracks of other formats: the music position counts bytes of 16-bit
// samples at the file's own rate and channel count, so a 48 kHz mono file (96,000 bytes a second)
// reaches the first pull window later than a 44.1 kHz stereo one (176,400 bytes a second), and
// the Shape drawing pulls a square exactly while the position is inside it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/demo_clock.h"
#include "app/music_channel.h"
#include "app/soundtrack.h"
#include "gl_support.h"
#include "shapes/builders.h"
#include "shapes/shape_draw.h"

namespace {

struct SoundtrackFormat {
    const char* name;
    int rate;
    int channels;
    int seconds; // long enough to reach past the first pull window
};

constexpr SoundtrackFormat formats[] = {
    {"Mono48k", 48000, 1, 102},
    {"Stereo44k", 44100, 2, 56},
};

// Names the format in test listings.
void PrintTo(const SoundtrackFormat& format, std::ostream* out) {
    *out << format.name;
}

std::uint32_t byteRateOf(const SoundtrackFormat& format) {
    return static_cast<std::uint32_t>(format.rate * format.channels * 2);
}

// A sine tone in that format encoded by lame, made once for all test programs.
std::string toneFile(const SoundtrackFormat& format) {
    const std::string path = std::string(OMBRA_TEST_DATA) + "/pulse-tone-" + format.name + "-" +
                             std::to_string(format.seconds) + "s.mp3";
    if (!std::filesystem::exists(path)) {
        const std::string temp = path + ".part" + std::to_string(getpid());
        const std::string command = "(sox -n -r " + std::to_string(format.rate) + " -c " +
                                    std::to_string(format.channels) + " -t wav - synth " +
                                    std::to_string(format.seconds) + " sine 440 | lame --quiet - " +
                                    temp + " && mv " + temp + " " + path + ") >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "could not make " << path;
    }
    return path;
}

// The first pull window: positions strictly between 9611 and 9661 thousand bytes pull by 0.07.
constexpr std::uint64_t pullLow = 9611;
constexpr std::uint64_t pullHigh = 9661;
constexpr float pull = 0.07f;

constexpr DemoClock::Ticks playStart = 5'000'000'000;

// The first tick at which `bytes` of the stream have been heard.
DemoClock::Ticks ticksWhenHeard(std::uint64_t bytes, std::uint32_t byteRate) {
    return playStart + (bytes * DemoClock::ticksPerSecond + byteRate - 1) / byteRate;
}

// The pixels whose centres lie in [low, high) of the drawing space, along an axis of `size`.
struct PixelSpan {
    int first, last;
};
PixelSpan coveredPixels(float low, float high, int size) {
    const float half = static_cast<float>(size) / 2.0f;
    return {static_cast<int>(std::ceil((low + 1.0f) * half - 0.5f)),
            static_cast<int>(std::ceil((high + 1.0f) * half - 0.5f)) - 1};
}

class PulseFormat : public testing::TestWithParam<SoundtrackFormat> {
  protected:
    void SetUp() override {
        resetFrame();
        Soundtrack::release();
        Soundtrack::forceSilent(); // the position follows the clock we set
        DemoClock::setManualTime(playStart);
        musicChannel = Soundtrack::openStream(toneFile(GetParam()).c_str());
        ASSERT_NE(musicChannel, 0u);
        Soundtrack::play(musicChannel);
    }
    void TearDown() override {
        musicChannel = 0;
        Soundtrack::release();
        DemoClock::setSource(nullptr);
    }

    static std::uint64_t positionAt(DemoClock::Ticks ticks) {
        DemoClock::setManualTime(ticks);
        return Soundtrack::position(musicChannel);
    }

    // Draws a square of half-size 0.3 at (0.3, 0.3) and checks it covers the square pulled by
    // `expectedPull` towards the centre.
    static void expectSquarePulledBy(float expectedPull) {
        resetFrame();
        Shape square =
            makeSquareShape({1.0f, 1.0f, 1.0f}, {0.3f, 0.3f}, {0.3f, 0.3f}, 0.0f, 0.0f, 1.0f, 0.3f);
        square.x = 0.3f;
        square.y = 0.3f;
        drawShape(square);
        const LitArea area = litArea(readBackBuffer());
        const float centre = 0.3f * (1.0f - expectedPull);
        const PixelSpan columns = coveredPixels(centre - 0.3f, centre + 0.3f, 640);
        const PixelSpan rows = coveredPixels(centre - 0.3f, centre + 0.3f, 480);
        EXPECT_EQ(area.left, columns.first);
        EXPECT_EQ(area.right, columns.last);
        EXPECT_EQ(area.bottom, rows.first);
        EXPECT_EQ(area.top, rows.last);
    }
};

TEST_P(PulseFormat, TheFilesByteRateIsTwoBytesPerSamplePerChannel) {
    EXPECT_EQ(Soundtrack::byteRate(toneFile(GetParam()).c_str()), byteRateOf(GetParam()));
}

TEST_P(PulseFormat, SilentPlayHearsSecondsTimesTheByteRate) {
    const std::uint32_t byteRate = byteRateOf(GetParam());
    for (const double seconds : {1.0, 10.5, 54.6}) {
        SCOPED_TRACE(seconds);
        const auto ticks = static_cast<DemoClock::Ticks>(seconds * 1e7 + 0.5);
        EXPECT_EQ(positionAt(playStart + ticks),
                  static_cast<std::uint64_t>(std::llround(seconds * byteRate)));
    }
    if (GetParam().rate == 48000) {
        EXPECT_EQ(positionAt(playStart + 1'004'000'000), 9'638'400u); // 100.4 s
    }
}

TEST_P(PulseFormat, TheSquareIsPulledExactlyWhileThePositionIsInsideThePullWindow) {
    const std::uint32_t byteRate = byteRateOf(GetParam());
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(GetParam().channels * 2);
    struct Moment {
        const char* what;
        std::uint64_t bytes;
        bool pulled;
    };
    const Moment moments[] = {
        {"well before the window", (pullLow - 200) * 1000, false},
        {"last sample frame before it", (pullLow + 1) * 1000 - frameBytes, false},
        {"first sample frame inside", (pullLow + 1) * 1000, true},
        {"its middle", (pullLow + pullHigh) / 2 * 1000, true},
        {"last sample frame inside", pullHigh * 1000 - frameBytes, true},
        {"first sample frame after it", pullHigh * 1000, false},
    };
    for (const Moment& moment : moments) {
        const DemoClock::Ticks ticks = ticksWhenHeard(moment.bytes, byteRate);
        SCOPED_TRACE(std::string(moment.what) + " at " +
                     std::to_string(static_cast<double>(ticks - playStart) / 1e7) + " s");
        ASSERT_EQ(positionAt(ticks), moment.bytes);
        expectSquarePulledBy(moment.pulled ? pull : 0.0f);
    }

    // Where the other format's position is in the middle of the window, this one's is far off.
    const std::uint32_t otherByteRate = byteRate == 96000 ? 176400 : 96000;
    DemoClock::setManualTime(ticksWhenHeard((pullLow + pullHigh) / 2 * 1000, otherByteRate));
    SCOPED_TRACE("where the other format pulls");
    expectSquarePulledBy(0.0f);
}

std::string formatName(const testing::TestParamInfo<SoundtrackFormat>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Formats, PulseFormat, testing::ValuesIn(formats), formatName);

} // namespace
