// Keeping time at any frame rate: the 1/60 s steps of the Scenes' hooks; the --stats figures.
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/extension_names.h"
#include "app/frame_pacer.h"
#include "app/frame_stats.h"
#include "clock/step_clock.h"

namespace {

// 60 fps frames rounded to the tick as the renderer's are take one step each at their own time.
TEST(StepClock, SixtyFramesASecondTakeOneStepEachAtTheirOwnTimeWhateverTheirRounding) {
    const auto frameTicks = [](std::uint64_t n) { return (2 * n * 10'000'000 + 60) / 120; };
    for (const std::uint64_t first : {1, 2, 3, 7261}) {
        StepClock clock;
        const DemoClock::Ticks expected = frameTicks(first - 1) + StepClock::stepTicks(1);
        for (std::uint64_t n = first; n < first + 2000; ++n) {
            std::vector<float> steps;
            clock.advance(frameTicks(n), expected, [&](float t) { steps.push_back(t); });
            ASSERT_EQ(steps, std::vector<float>{DemoClock::secondsBetween(frameTicks(first),
                                                                          frameTicks(n))})
                << "frame " << n << " from " << first;
        }
    }
    // A step is due from half a step before its moment, also after a call too early to count.
    for (const DemoClock::Ticks early : {frameTicks(1) / 2, frameTicks(1) / 2 + 1}) {
        StepClock clock;
        int steps = 0;
        clock.advance(frameTicks(100) - 2 * early, frameTicks(100), [&](float) { ++steps; });
        clock.advance(frameTicks(100) - early, frameTicks(100), [&](float) { ++steps; });
        EXPECT_EQ(steps, early == frameTicks(1) / 2 ? 1 : 0) << early;
    }
}

// A frame starts a refresh period after the previous one began, or at once when that has passed
// (no burst after a late wake); vsync is found by the extension's whole name in the driver's list.
TEST(FramePacer, StartsAPeriodAfterThePreviousStartOrAtOnceAndFindsVsyncByItsWholeName) {
    using namespace std::chrono_literals;
    FramePacer pacer(50.0);
    const FramePacer::Clock::time_point zero;
    EXPECT_EQ(pacer.nextFrameAt(zero + 3ms), zero + 3ms);
    EXPECT_EQ(pacer.nextFrameAt(zero + 10ms), zero + 23ms);
    EXPECT_EQ(pacer.nextFrameAt(zero + 70ms), zero + 70ms) << "late";
    EXPECT_EQ(pacer.nextFrameAt(zero + 75ms), zero + 90ms);
    const std::string name = "GLX_EXT_swap_control";
    for (const std::string& list : {name, "A " + name, name + " B", name + "_tear " + name})
        EXPECT_TRUE(listsExtension(list, name)) << list;
    for (const std::string& list : {std::string(), name + "_tear", "X" + name, name.substr(1)})
        EXPECT_FALSE(listsExtension(list, name)) << list;
}

// The --stats figures read back from its line, against what the test finds in the same frame
// times: intervals of whole 1/1024 s, so that one lands exactly on the 1.5 periods of 64 Hz.
struct Figures {
    double frames, seconds, rate, median, percentile95, worst, late, lateMs, hertz;
};

Figures readSummary(const std::string& line) {
    const std::regex pattern("ombra: ([0-9]+) frames in ([0-9.]+) s, ([0-9.]+) a second; frame "
                             "interval median ([0-9.]+) ms, 95th percentile ([0-9.]+) ms, worst "
                             "([0-9.]+) ms; ([0-9]+) later than ([0-9.]+) ms \\(1\\.5 refresh "
                             "periods at ([0-9]+) Hz\\); no sound\n");
    std::smatch m;
    EXPECT_TRUE(std::regex_match(line, m, pattern)) << line;
    std::vector<double> v(10);
    for (std::size_t i = 1; i < m.size(); ++i) {
        v[i] = std::stod(m[i]);
    }
    return {v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]};
}

// The value at the nearest rank: the smallest of which at least `percent` of all are no larger.
int nearestRank(std::vector<int> values, int percent) {
    std::sort(values.begin(), values.end());
    for (const int candidate : values) {
        const auto atMost =
            std::count_if(values.begin(), values.end(), [&](int v) { return v <= candidate; });
        if (atMost * 100 >= percent * static_cast<long>(values.size())) {
            return candidate;
        }
    }
    return -1;
}

TEST(FrameStats, FiguresAreThoseOfTheFrameTimesWithOddAndEvenCountsTiesAndTwoFrames) {
    constexpr double unit = 1.0 / 1024, hertz = 64, late = 24; // 1.5 periods = 24 units exactly
    const std::vector<std::vector<int>> runs{
        {90, 17, 17, 16, 24, 18, 17},     // the first interval the worst; one at the boundary
        {17, 16, 25, 17, 18, 24, 24, 19}, // even: the median is the lower middle, one late
        {17},                             // two frames
        {16, 17, 18, 19, 20, 21, 22, 23, 24, 25,
         26, 27, 28, 29, 30, 31, 32, 33, 34, 35}, // 95th: 19th
        {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36},
        {26, 16, 25, 17, 24, 18, 23, 19, 22, 20, 21}}; // 95th: 10.45 rounds up to the 11th
    for (const std::vector<int>& intervals : runs) {
        SCOPED_TRACE(testing::PrintToString(intervals));
        FrameStats stats;
        int time = 3; // the first frame is shown a little after it began
        stats.frameShown(time * unit);
        for (const int interval : intervals) {
            stats.frameShown((time += interval) * unit);
        }
        const Figures f = readSummary(stats.summary(hertz));
        const double frames = intervals.size() + 1.0, seconds = time * unit;
        EXPECT_EQ(f.frames, frames);
        EXPECT_NEAR(f.seconds, seconds, 0.005);
        EXPECT_NEAR(f.rate, frames / seconds, 0.005);
        EXPECT_NEAR(f.median, nearestRank(intervals, 50) * unit * 1e3, 0.05);
        EXPECT_NEAR(f.percentile95, nearestRank(intervals, 95) * unit * 1e3, 0.05);
        EXPECT_NEAR(f.worst, *std::max_element(intervals.begin(), intervals.end()) * unit * 1e3,
                    0.05);
        EXPECT_EQ(f.late, std::count_if(intervals.begin(), intervals.end(),
                                        [&](int interval) { return interval > late; }));
        EXPECT_NEAR(f.lateMs, late * unit * 1e3, 0.05);
        EXPECT_EQ(f.hertz, hertz);
    }
    EXPECT_EQ(FrameStats().summary(60), "ombra: 0 frames in 0.00 s, 0.00 a second; no sound\n");
}

// The drift keeps its sign: negative while the music is behind the time played, positive ahead;
// "at most" is the largest either way.
TEST(FrameStats, TellsTheMusicsDriftBehindAndAheadWithItsSign) {
    const std::pair<std::vector<double>, std::string> cases[] = {
        {{0.031, -0.045, -0.012}, "music drift -12 ms at the end, -45 ms at most\n"},
        {{-0.010, 0.060, 0.020}, "music drift +20 ms at the end, +60 ms at most\n"}};
    for (const auto& [drifts, told] : cases) {
        FrameStats stats;
        stats.frameShown(0.0);
        for (const double drift : drifts) {
            stats.musicDrift(drift);
        }
        const std::string line = stats.summary(60);
        EXPECT_EQ(line.substr(line.size() - told.size()), told) << line;
    }
}

} // namespace
