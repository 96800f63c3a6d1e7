// The whole production through the offline renderer: one shared rendering at 60 frames a second
// checked frame by frame against the frame loop's rules and on pixels at chosen moments of each
// Scene, and two short runs for what must repeat from run to run.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"
#include "production_capture.h"
#include "production_pictures.h"
#include "production_timeline.h"

namespace {

constexpr int fps = 60;
constexpr unsigned outroSeed = 20220604;
constexpr Phase Play = Phase::Play, Outro = Phase::Outro;
constexpr double last = 1e9; // a moment past the end of a phase: its last frame

// The moments the tests look at: the shared rendering writes the pictures of exactly these.
const std::vector<Moment> checkedMoments{
    {1, Play, 2.0},   {1, Play, last},  {1, Outro, 0.0}, {1, Outro, 0.01}, {1, Outro, 0.5},
    {1, Outro, 3.0},  {1, Outro, last}, {3, Play, 19.5}, {3, Outro, 0.0},  {3, Outro, 1.0},
    {3, Outro, last}, {4, Play, 4.0},   {4, Play, 9.5},  {4, Play, 10.5},  {4, Play, 11.0},
    {4, Play, 15.0},  {4, Play, 17.0},  {5, Play, 1.0},  {5, Play, 29.0},  {5, Outro, 0.0},
    {5, Outro, 1.0},  {5, Outro, last}, {6, Play, 0.0},  {6, Play, 5.0},   {6, Outro, 0.0},
    {6, Outro, 2.75}, {6, Outro, last}};
const std::vector<Moment> schedule = scheduleProduction(fps);

std::string pngName(std::int64_t frame) {
    const std::string digits = std::to_string(frame);
    return "/frame_" + std::string(6 - digits.size(), '0') + digits + ".png";
}

// "--frames" for the frames that `moments` fall on in `timeline`.
std::string frameList(const std::vector<Moment>& timeline, const std::vector<Moment>& moments) {
    std::string list;
    for (const Moment& moment : moments) {
        list += "," + std::to_string(frameOf(timeline, moment));
    }
    return list.substr(1);
}

// The shared rendering's folder. A frame listed far past the end makes the renderer play on
// until the last outro finishes, whatever the schedule says.
const std::string& production() {
    static const std::string folder =
        sharedCapture({"--quiet", "--fps", std::to_string(fps), "--seed", std::to_string(outroSeed),
                       "--frames", frameList(schedule, checkedMoments) + ",99999"});
    return folder;
}

Picture shot(const Moment& moment) {
    return Picture::load(production() + pngName(frameOf(schedule, moment)));
}

const PixelTest lit = [](Rgb pixel, int, int) { return !pixel.isBlack(); };
const PixelTest black = [](Rgb pixel, int, int) { return pixel.isBlack(); };
const PixelTest litGrey = [](Rgb pixel, int, int) { return pixel.isGrey() && !pixel.isBlack(); };

TEST(Production, EveryLoggedFrameShowsTheSceneAndPhaseTheFrameLoopRulesGive) {
    const FrameCsv log = readFrameCsv(production() + "/frames.csv");
    EXPECT_EQ(log.header, "frame,time,scene,phase,scene_time,render_ms");
    EXPECT_EQ(log.badLines, std::vector<std::string>{});
    // By hand, each stretch counted from the frame its clock starts in: Scene 1 plays 349 frames
    // (348/60 < 5.815 <= 349/60), its outro's clock reaches 5.51 331 frames later, and so on:
    // 349 + 331 + 660 + 300 + 1275 + 180 + 1863 + 175 + 1899 + 235 + 633 + 330.
    ASSERT_EQ(schedule.size(), 8230u);
    ASSERT_EQ(log.rows.size(), schedule.size());
    for (std::size_t frame = 0; frame < schedule.size(); ++frame) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const FrameRow& row = log.rows[frame];
        ASSERT_EQ(row.frame, frame);
        ASSERT_NEAR(row.time, frame / double(fps), 1e-6);
        ASSERT_EQ(row.scene, schedule[frame].scene);
        ASSERT_EQ(row.phase, schedule[frame].phase == Play ? "play" : "outro");
        ASSERT_NEAR(row.sceneTime, schedule[frame].seconds, 2e-6);
    }
    EXPECT_FALSE(std::filesystem::exists(production() + pngName(8230)))
        << "the frame in which the last outro finishes ends the run unseen";
}

TEST(Production, Scene1SquaresStandInTheirQuadrants) {
    // Lit, the warm (220, 215, 201), (162, 123, 92) and cool (44, 54, 57), (63, 78, 79) squares
    // keep their channels' order. The block fills [-0.6, 0.6], with nothing beside it yet.
    const PixelTest warm = [](Rgb p, int, int) { return p.r >= p.g && p.g >= p.b && p.r > p.b; };
    const PixelTest cool = [](Rgb p, int, int) { return p.r < p.g && p.g <= p.b; };
    const Picture settled = shot({1, Play, 2.0});
    EXPECT_EQ(settled.firstFailure({136, 104, 311, 231}, warm), "") << "top left";
    EXPECT_EQ(settled.firstFailure({136, 248, 311, 375}, warm), "") << "bottom left";
    EXPECT_EQ(settled.firstFailure({328, 104, 503, 231}, cool), "") << "top right";
    EXPECT_EQ(settled.firstFailure({328, 248, 503, 375}, cool), "") << "bottom right";
    EXPECT_EQ(settled.firstFailure({0, 100, 110, 380}, black), "");
    EXPECT_EQ(settled.firstFailure({530, 100, 639, 380}, black), "");
}

TEST(Production, Scene1OutroCapturesTheLastPictureAndScattersItToTheEdges) {
    // The still Scene is drawn once more in the first frame; then the particles start at (0, 0).
    EXPECT_TRUE(shot({1, Outro, 0.0}) == shot({1, Play, last}));
    const Picture firstDrawing = shot({1, Outro, 0.01});
    EXPECT_EQ(firstDrawing.count(whole, lit), 1);
    EXPECT_FALSE(firstDrawing.at(0, 0).isBlack());
    // Each particle flies straight to its screen edge: the lit pixels draw towards the edges.
    double previous = 1e9;
    for (const double seconds : {0.5, 3.0}) {
        double distance = 0;
        const int litPixels = shot({1, Outro, seconds}).count(whole, [&](Rgb pixel, int c, int r) {
            distance += pixel.isBlack() ? 0 : std::min({c, 639 - c, r, 479 - r});
            return !pixel.isBlack();
        });
        EXPECT_LT(distance / litPixels, previous) << seconds << " s";
        previous = distance / litPixels;
    }
    EXPECT_EQ(shot({1, Outro, last}).firstFailure(whole, black), "");
}

// The background shaders' formulas on the processor, allowing a rounding to bytes; where inputs
// (gradients, clock) are unknown outside the program, what the formula fixes whatever they are.
bool near(int byte, double expected, double tolerance) {
    return std::abs(byte - expected * 255.0) <= tolerance * 255.0;
}

// Scene 3: a warm Gaussian glow around the centre, never below half.
bool showsGaussianGlow(Rgb pixel, int column, int row) {
    const double qx = Picture::fragmentX(column) - 0.5;
    const double qy = 0.5 - Picture::fragmentY(row);
    const double value = std::clamp(2.0 * std::exp(-(qx * qx + qy * qy) / 0.125), 0.5, 1.0);
    return near(pixel.r, value, 1.0 / 255) && near(pixel.g, value * 123 / 162, 1.0 / 255) &&
           near(pixel.b, value * 92 / 162, 1.0 / 255);
}

// Scene 5: red and green show the same noise value through the sine of x and the cosine of y,
// and blue never falls below one half.
bool showsGradientNoise(Rgb pixel, int column, int row) {
    const double sinX = std::abs(std::sin(Picture::fragmentX(column)));
    const double cosY = std::abs(std::cos(Picture::fragmentY(row)));
    const double fromGreen = pixel.g / 255.0 / cosY;
    const double greenError = 0.5 / 255 / cosY + 1e-3;
    return std::abs(pixel.r / 255.0 / sinX - fromGreen) <= 0.5 / 255 / sinX + greenError &&
           fromGreen >= 0.33 - greenError && fromGreen <= 1.0 + greenError && pixel.b >= 127;
}

// Scene 6: a grey whose level is 0.66 moved by fifty votes of 0.04, clamped; the votes move it
// by an even number of steps, and a level on half a byte may round either way.
bool showsRandomSources(Rgb pixel, int, int) {
    bool onStep = pixel.r == 0 || pixel.r == 255;
    for (int step = 0; step <= 12; ++step) {
        onStep = onStep || std::abs(pixel.r - (0.02 + 0.08 * step) * 255.0) <= 0.5 + 1e-3;
    }
    return pixel.isGrey() && onStep;
}

TEST(Production, ShaderScenesColourTheirShapesAndTheirOutrosShowTheFrozenField) {
    // While a shader Scene plays, its program colours whatever it draws. Its outro draws the
    // composed picture as one block of pixels with the program still in use, so after the first
    // outro frame the window shows the Scene's field, frozen, and nothing of the particles.
    for (const auto& [scene, playing, field] :
         {std::tuple{3, 19.5, &showsGaussianGlow}, std::tuple{5, 29.0, &showsGradientNoise}}) {
        SCOPED_TRACE("Scene " + std::to_string(scene));
        const auto orBlack = [&](Rgb p, int c, int r) { return p.isBlack() || field(p, c, r); };
        EXPECT_EQ(shot({scene, Play, playing}).firstFailure(whole, orBlack), "");
        EXPECT_LT(shot({scene, Outro, 0.0}).share(whole, lit), 0.5)
            << "the first outro frame shows the Scene, not the field";
        const Picture frozen = shot({scene, Outro, 1.0});
        EXPECT_EQ(frozen.firstFailure(whole, field), "");
        EXPECT_TRUE(shot({scene, Outro, last}) == frozen) << "the field moved";
    }
}

TEST(Production, Scene3RectanglesLandSideBySideOnTheBottomLine) {
    // Rectangle k lands at (-0.9 + 0.2 k, -0.81) at 2.125 (k + 1) s: 0.2 x 0.14 each, they fill
    // rows 418-450 from the left edge, nine of them by 19.5 s.
    const Picture nine = shot({3, Play, 19.5});
    EXPECT_EQ(nine.firstFailure({2, 421, 573, 447}, lit), "");
    EXPECT_LT(nine.share({580, 421, 637, 447}, lit), 0.5) << "the tenth is still on its way";
    EXPECT_LT(nine.share({0, 405, 639, 413}, lit), 0.05) << "nothing above the row";
    EXPECT_LT(nine.share({0, 455, 639, 463}, lit), 0.05) << "nothing below the row";
}

TEST(Production, Scene4BackdropIsGreyAndLiesBehindTheObjects) {
    // Scene 4 has no program: the backdrop's texture shows in pure greys, while the lit objects
    // and the credits, coloured by the light, never come out grey.
    for (const double seconds : {4.0, 15.0}) {
        SCOPED_TRACE(std::to_string(seconds) + " s");
        const Picture picture = shot({4, Play, seconds});
        EXPECT_GT(picture.share(whole, litGrey), 0.6);
        // Places only the backdrop reaches while the objects turn, made uneven by fault lines.
        for (const Box& box : {Box{230, 250, 420, 330}, Box{0, 0, 120, 80}}) {
            const int corner = picture.at(box.left, box.top).r;
            const auto unlike = [&](Rgb p, int, int) { return std::abs(p.r - corner) > 10; };
            EXPECT_EQ(picture.firstFailure(box, litGrey), "");
            EXPECT_GT(picture.count(box, unlike), 0);
        }
        // The Penrose tiling at (-0.61, -0.61) and the polygon ring at (0.61, -0.61) are drawn
        // before the backdrop, which lies further back and must not cover them.
        EXPECT_FALSE(picture.at(124, 386).isGrey());
        EXPECT_FALSE(picture.at(515, 386).isGrey());
    }
}

// How many pixels of `box` are coloured ink in one picture and not in the other.
int inkDifference(const Picture& one, const Picture& other, const Box& box) {
    return one.count(box,
                     [&](Rgb p, int c, int r) { return p.isGrey() != other.at(c, r).isGrey(); });
}

TEST(Production, Scene4CreditsStandInTurnInTheTitleArea) {
    // The title stands at (-0.55, 0.51), where no curve reaches at these moments. CODE is
    // revealed by 2 s and vanishes at 9 s; MUSIC comes at 10 s as noise, new letters every
    // frame, and stands from 12 s.
    const Box codeStart{140, 96, 178, 114};
    const Box title{140, 96, 300, 121};
    const Picture code = shot({4, Play, 4.0});
    const Picture music = shot({4, Play, 15.0});
    EXPECT_GT(code.count(codeStart, [](Rgb p, int, int) { return !p.isGrey(); }), 30);
    EXPECT_EQ(shot({4, Play, 9.5}).firstFailure(codeStart, litGrey), "");
    EXPECT_GT(inkDifference(shot({4, Play, 10.5}), shot({4, Play, 11.0}), title), 0);
    EXPECT_GT(inkDifference(shot({4, Play, 11.0}), music, title), 0);
    EXPECT_EQ(inkDifference(music, shot({4, Play, 17.0}), title), 0) << "true text stands still";
    EXPECT_GT(inkDifference(music, code, codeStart), 0) << "MUSIC stands where CODE stood";
}

TEST(Production, Scene5PanelShowsTheNoiseField) {
    // The panel comes at 2.1 s and covers x from 0.5 to 1 in the noise colours.
    const Box panel{480, 0, 639, 479};
    EXPECT_EQ(shot({5, Play, 1.0}).firstFailure(panel, black), "");
    EXPECT_EQ(shot({5, Play, 29.0}).firstFailure(panel, showsGradientNoise), "");
}

TEST(Production, Scene6ShowsTheRandomSourcesFieldTurningAndTheCurtainFrozen) {
    // The closing card's lines go through the field's program too, so the window is all field.
    EXPECT_EQ(shot({6, Play, 0.0}).firstFailure(whole, showsRandomSources), "");
    EXPECT_EQ(shot({6, Play, 5.0}).firstFailure(whole, showsRandomSources), "");
    EXPECT_FALSE(shot({6, Play, 0.0}) == shot({6, Play, 5.0})) << "the points stopped turning";
    // The curtain's black rows go through the Scene's program with everything else: every
    // outro frame shows the captured field.
    const Picture captured = shot({6, Outro, 0.0});
    EXPECT_EQ(captured.firstFailure(whole, showsRandomSources), "");
    EXPECT_TRUE(shot({6, Outro, 2.75}) == captured);
    EXPECT_TRUE(shot({6, Outro, last}) == captured);
}

// A short run of the renderer into a scratch folder, for the frames of `moments`.
ProcessResult runShort(const TempFolder& folder, int framesPerSecond, unsigned seed,
                       const std::vector<Moment>& moments) {
    return runProcess({builtProgram("ombra-capture"), "--quiet", "--out", folder.path(), "--fps",
                       std::to_string(framesPerSecond), "--seed", std::to_string(seed), "--frames",
                       frameList(scheduleProduction(framesPerSecond), moments)},
                      folder.path());
}

TEST(Production, TheSameSeedDissolvesScene1ByteForByteAsTheFullRun) {
    const std::vector<Moment> outro{{1, Outro, 0.5}, {1, Outro, 3.0}, {1, Outro, last}};
    const TempFolder folder;
    ASSERT_EQ(runShort(folder, fps, outroSeed, outro).exitCode, 0);
    for (const Moment& moment : outro) {
        const std::string png = pngName(frameOf(schedule, moment));
        ASSERT_FALSE(readFile(folder.path() + png).empty()) << png;
        EXPECT_TRUE(readFile(folder.path() + png) == readFile(production() + png)) << png;
    }
}

TEST(Production, BuiltContentIsTheSameWhateverTheSeedAndFrameRate) {
    // The backdrop and the random points come from the C generator before anything seeds it, so
    // another seed and frame rate show the same ones; at one frame a second the run is short.
    const TempFolder folder;
    const std::vector<Moment> moments{{4, Play, 4.0}, {6, Play, 0.0}};
    ASSERT_EQ(runShort(folder, 1, outroSeed + 1, moments).exitCode, 0);
    const auto slowShot = [&](const Moment& moment) {
        return Picture::load(folder.path() + pngName(frameOf(scheduleProduction(1), moment)));
    };
    // The objects stand elsewhere, but wherever both runs show the backdrop its greys agree.
    const Picture slow = slowShot(moments[0]);
    const Picture fast = shot(moments[0]);
    int shared = 0;
    const auto agreesWhereBothGrey = [&](Rgb p, int c, int r) {
        const bool both = litGrey(p, c, r) && litGrey(fast.at(c, r), c, r);
        shared += both ? 1 : 0;
        return !both || p.r == fast.at(c, r).r;
    };
    EXPECT_EQ(slow.firstFailure(whole, agreesWhereBothGrey), "");
    EXPECT_GT(shared, 640 * 480 / 2);
    // Scene 6's first frame is drawn before its hook has turned any point.
    EXPECT_TRUE(slowShot(moments[1]) == shot(moments[1]));
}

} // namespace
