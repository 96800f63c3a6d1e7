// The whole production in this process at 60 fps on a simulated clock, as the renderer plays it:
// every frame's Scene and phase by the frame loop's rules, chosen moments' pictures by the Scenes'.
#include <functional>
#include <map>
#include <string>
#include <tuple>

#include "app/timeline.h"
#include "audio/soundtrack.h"
#include "gl/gl_support.h"
#include "transitions/outros.h"

namespace {

// Frame n happens n / 60 s in, in 100 ns ticks rounded to the nearest.
DemoClock::Ticks frameTicks(std::int64_t frame) {
    return (2 * frame * DemoClock::ticksPerSecond + 60) / 120;
}

// Scene 1 to 6, outro or not, and the Scene's clock while it plays or the outro's own clock.
using Moment = std::tuple<int, bool, float>;

// Every frame shown: a Scene plays while its clock (a float difference of frame times) is below its
// play time, its outro until its own clock reaches its run time, a frame that starts the next.
std::vector<Moment> scheduleProduction() {
    constexpr float playTimes[] = {5.815f, 11.0f, 21.25f, 31.05f, 31.65f, 10.55f};
    constexpr float outroTimes[] = {5.51f, 5.0f, 3.0f, 2.91f, 3.91f, 5.5f};
    const auto seconds = [](std::int64_t start, std::int64_t frame) {
        return float(double(frameTicks(frame) - frameTicks(start))) / 1e7f;
    };
    std::vector<Moment> schedule;
    std::int64_t frame = 0, clockStart = 0;
    for (int scene = 1; scene <= 6; ++scene) {
        for (; seconds(clockStart, frame) < playTimes[scene - 1]; ++frame) {
            schedule.emplace_back(scene, false, seconds(clockStart, frame));
        }
        const std::int64_t outroStart = frame;
        for (; seconds(outroStart, frame) < outroTimes[scene - 1]; ++frame) {
            schedule.emplace_back(scene, true, seconds(outroStart, frame));
        }
        if (scene < 6) { // the finishing frame
            schedule.emplace_back(scene, true, seconds(outroStart, frame));
        }
        clockStart = frame++;
    }
    return schedule;
}

// The first pixel, 640 row + column, that fails `test`, which sees each pixel's centre as a
// fragment shader does (0 to 1 across and up); -1 when every pixel passes.
using PixelTest = std::function<bool(Rgb pixel, double x, double y)>;
int firstFailure(const Picture& picture, const PixelTest& test) {
    for (int i = 0; i < 640 * 480; ++i) {
        if (!test(pixelAt(picture, i % 640, i / 640), (i % 640 + 0.5) / 640,
                  (i / 640 + 0.5) / 480)) {
            return i;
        }
    }
    return -1;
}

// Scene 3's field: a warm Gaussian glow around the centre, never below half.
bool showsGaussianGlow(Rgb p, double x, double y) {
    const double value =
        std::clamp(2 * std::exp(-8 * ((x - 0.5) * (x - 0.5) + (y - 0.5) * (y - 0.5))), 0.5, 1.0);
    return std::abs(p.r - value * 255) <= 1 && std::abs(p.g - value * 123 / 162 * 255) <= 1 &&
           std::abs(p.b - value * 92 / 162 * 255) <= 1;
}
bool showsGlowOrNothing(Rgb p, double x, double y) {
    return p == Rgb{} || showsGaussianGlow(p, x, y);
}
// Scene 6's field: a grey of 0.66 moved by fifty votes of 0.04, clamped.
bool showsRandomSources(Rgb p, double, double) {
    const double steps = (p.r / 255.0 - 0.02) / 0.08; // an even number of votes either way
    return p.r == p.g && p.g == p.b &&
           (p.r == 0 || p.r == 255 || std::abs(steps - std::round(steps)) * 20.4 <= 0.501);
}
const Rgb cardText{135, 128, 94};

TEST(Production, PlaysEveryFrameByTheFrameLoopsRulesAndShowsWhatEachSceneAndOutroMust) {
    const std::vector<Moment> schedule = scheduleProduction();
    // Counted by hand: 349 + 331 + 660 + 300 + 1275 + 180 + 1863 + 175 + 1899 + 235 + 633 + 330.
    ASSERT_EQ(schedule.size(), 8230u);
    // The first frame of a Scene and phase whose clock reads a moment's seconds or more, or its
    // last.
    constexpr float last = 1e9f;
    std::map<Moment, Picture> shots{
        {{1, false, last}, {}}, {{1, true, 0}, {}},      {{1, true, 0.01f}, {}},
        {{1, true, last}, {}},  {{3, false, 19.5f}, {}}, {{3, true, 1}, {}},
        {{3, true, last}, {}},  {{4, false, 4}, {}},     {{6, false, 0}, {}},
        {{6, false, 5}, {}},    {{6, true, 0}, {}},      {{6, true, last}, {}}};
    DemoClock::setManualTime(frameTicks(0));
    setOutroSeed(20220604);
    Soundtrack::forceSilent(176'400); // no soundtrack here: the beats fall as 44.1 kHz stereo
    buildScenes();
    std::size_t frame = 0;
    for (FrameInfo info;; ++frame) {
        DemoClock::setManualTime(frameTicks(frame));
        if (!runFrame(&info)) {
            break;
        }
        ASSERT_LT(frame, schedule.size()) << "the production runs past its last frame";
        const auto [scene, outro, seconds] = schedule[frame];
        ASSERT_EQ(std::tuple(info.scene, info.outro), std::tuple(scene, outro)) << frame;
        ASSERT_NEAR(info.sceneTime, seconds, 2e-6) << "frame " << frame;
        const bool phaseEnds = frame + 1 == schedule.size() ||
                               std::get<0>(schedule[frame + 1]) != scene ||
                               std::get<1>(schedule[frame + 1]) != outro;
        for (auto& [moment, picture] : shots) {
            const auto [momentScene, momentOutro, momentSeconds] = moment;
            if (std::tie(momentScene, momentOutro) == std::tie(scene, outro) && picture.empty() &&
                (seconds >= momentSeconds || phaseEnds)) {
                picture = readBackBuffer();
            }
        }
    }
    EXPECT_EQ(frame, schedule.size()) << "the last outro's finishing frame ends the run unseen";
    const auto shot = [&](int scene, bool outro, float seconds) -> const Picture& {
        return shots.at({scene, outro, seconds});
    };

    // Scene 1's dissolve: the Scene once more, then particles from the top-left pixel, then black.
    EXPECT_TRUE(shot(1, true, 0) == shot(1, false, last));
    EXPECT_EQ(litArea(shot(1, true, 0.01f)), (std::array{0, 0, 479, 479, 1}));
    EXPECT_EQ(litArea(shot(1, true, last))[4], 0);
    // Scene 3 colours its Shapes with its field; its outro draws the captured picture with the
    // program still in use, so from its second frame on the field shows everywhere, frozen.
    EXPECT_EQ(firstFailure(shot(3, false, 19.5f), showsGlowOrNothing), -1);
    EXPECT_EQ(firstFailure(shot(3, true, 1), showsGaussianGlow), -1);
    EXPECT_TRUE(shot(3, true, last) == shot(3, true, 1)) << "the field moved";
    // Scene 4's backdrop, in greys, lies behind the tiling and the ring that are drawn before it.
    for (const auto& [x, y] : {std::pair{124, 93}, {515, 93}}) {
        const Rgb p = pixelAt(shot(4, false, 4), x, y);
        EXPECT_FALSE(p.r == p.g && p.g == p.b) << "column " << x;
    }
    // The closing card's lines stand in the text colour over the turning field; the curtain's rows
    // go through the field's program, frozen with the values of the card's last picture.
    const Picture& card = shot(6, false, 5);
    const Picture& captured = shot(6, true, 0);
    const Picture& curtain = shot(6, true, last);
    EXPECT_EQ(firstFailure(curtain, showsRandomSources), -1);
    int textPixels = 0;
    const PixelTest textOrCurtain = [&](Rgb p, double x, double y) {
        textPixels += p == cardText && pixelAt(card, x * 640, y * 480) == p;
        return p == cardText || p == pixelAt(curtain, x * 640, y * 480);
    };
    EXPECT_EQ(firstFailure(captured, textOrCurtain), -1);
    EXPECT_GT(textPixels, 1500) << "the lines are not on the card";
    // Four lines one above another, each centred: runs of text rows as last row, left and right.
    std::vector<std::array<int, 3>> lines;
    for (int i = 0; i < 640 * 480; ++i) {
        const int x = i % 640, y = i / 640;
        if (pixelAt(card, x, y) == cardText) {
            if (lines.empty() || lines.back()[0] < y - 1) {
                lines.push_back({y, x, x});
            }
            lines.back() = {y, std::min(lines.back()[1], x), std::max(lines.back()[2], x)};
        }
    }
    ASSERT_EQ(lines.size(), 4u);
    for (const auto& [row, left, right] : lines) {
        EXPECT_NEAR(left + right, 639, 16) << "a line off centre ending at row " << row;
    }
}

} // namespace
