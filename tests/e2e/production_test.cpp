// The whole production through the offline renderer: one rendering at 60 frames a second, made
// once and shared by every test here, checked frame by frame against the frame loop's rules and
// at chosen moments against each Scene's time line, on pixels; and two short runs for what must
// repeat from run to run.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capture_files.h"
#include "child_process.h"
#include "production_capture.h"
#include "production_pictures.h"
#include "production_shading.h"
#include "production_timeline.h"

namespace {

constexpr int fps = 60;
constexpr unsigned outroSeed = 20220604;
constexpr double lastFrame = 1e9; // a moment past the end of a phase: its last frame

// --- The moments the checks look at -----------------------------------------------------------
// The shared rendering writes exactly these frames; a check that wants another moment adds it
// here. The soundtrack's pulses, which scale and pull the Shapes, fall within Scenes 4 and 5
// (from 54 s of the run on); the moments there where positions matter lie between them.

constexpr Moment squaresSettled{1, Phase::Play, 2.0};
constexpr Moment linesHalfGrown{1, Phase::Play, 3.0};
constexpr Moment linesFullyGrown{1, Phase::Play, 5.5};
constexpr Moment scene1End{1, Phase::Play, lastFrame};
constexpr Moment scene1Capture{1, Phase::Outro, 0.0};
constexpr Moment scene1FirstDrawing{1, Phase::Outro, 0.01};
constexpr Moment scene1Scatter[] = {
    {1, Phase::Outro, 0.5}, {1, Phase::Outro, 2.0}, {1, Phase::Outro, 4.0}};
constexpr Moment scene1Finish{1, Phase::Outro, lastFrame};

constexpr Moment titleAlone{2, Phase::Play, 0.5};
constexpr Moment strokesFalling{2, Phase::Play, 5.0};
constexpr Moment strokesLanded{2, Phase::Play, 10.9};
constexpr Moment scene2Capture{2, Phase::Outro, 0.0};
constexpr Moment scene2Outro[] = {
    {2, Phase::Outro, 0.5}, {2, Phase::Outro, 2.5}, {2, Phase::Outro, lastFrame}};

constexpr Moment signOffClear{3, Phase::Play, 2.2};
constexpr Moment fiveRectanglesDown{3, Phase::Play, 12.0};
constexpr Moment nineRectanglesDown{3, Phase::Play, 19.5};
constexpr Moment scene3End{3, Phase::Play, lastFrame};
constexpr Moment scene3Capture{3, Phase::Outro, 0.0};
constexpr Moment scene3Outro[] = {{3, Phase::Outro, 1.5}, {3, Phase::Outro, lastFrame}};

constexpr Moment codeCredit[] = {
    {4, Phase::Play, 2.5}, {4, Phase::Play, 4.0}, {4, Phase::Play, 6.0}};
constexpr Moment codeCreditGone{4, Phase::Play, 9.5};
constexpr Moment musicNoise[] = {{4, Phase::Play, 10.5}, {4, Phase::Play, 11.0}};
constexpr Moment musicCredit[] = {{4, Phase::Play, 15.0}, {4, Phase::Play, 17.0}};
constexpr Moment graphicsCredit{4, Phase::Play, 24.0};
constexpr Moment backdropShrinking{4, Phase::Play, 28.0};
constexpr Moment backdropGone{4, Phase::Play, 31.0};
constexpr Moment scene4FirstDrawing{4, Phase::Outro, 0.01};
constexpr Moment scene4Gather[] = {
    {4, Phase::Outro, 0.5}, {4, Phase::Outro, 1.5}, {4, Phase::Outro, 2.5}};
constexpr Moment scene4Finish{4, Phase::Outro, lastFrame};

constexpr Moment beforePanel{5, Phase::Play, 1.0};
constexpr Moment firstGreeting{5, Phase::Play, 5.0};
constexpr Moment thirdGreeting{5, Phase::Play, 12.0};
constexpr Moment allGreetings{5, Phase::Play, 29.0};
constexpr Moment scene5Capture{5, Phase::Outro, 0.0};
constexpr Moment scene5Outro[] = {{5, Phase::Outro, 1.0}, {5, Phase::Outro, lastFrame}};

constexpr Moment scene6First{6, Phase::Play, 0.0};
constexpr Moment scene6Turning[] = {
    {6, Phase::Play, 0.5}, {6, Phase::Play, 5.0}, {6, Phase::Play, lastFrame}};
constexpr Moment curtainCapture{6, Phase::Outro, 0.0};
constexpr Moment curtainHalfWay{6, Phase::Outro, 2.75};
constexpr Moment curtainLastShown{6, Phase::Outro, lastFrame};

std::vector<Moment> checkedMoments() {
    std::vector<Moment> moments{
        squaresSettled,     linesHalfGrown, linesFullyGrown,    scene1End,          scene1Capture,
        scene1FirstDrawing, scene1Finish,   titleAlone,         strokesFalling,     strokesLanded,
        scene2Capture,      signOffClear,   fiveRectanglesDown, nineRectanglesDown, scene3End,
        scene3Capture,      codeCreditGone, graphicsCredit,     backdropShrinking,  backdropGone,
        scene4FirstDrawing, scene4Finish,   beforePanel,        firstGreeting,      thirdGreeting,
        allGreetings,       scene5Capture,  scene6First,        curtainCapture,     curtainHalfWay,
        curtainLastShown};
    const auto add = [&moments](const auto& group) {
        moments.insert(moments.end(), std::begin(group), std::end(group));
    };
    add(scene1Scatter);
    add(scene2Outro);
    add(scene3Outro);
    add(codeCredit);
    add(musicNoise);
    add(musicCredit);
    add(scene4Gather);
    add(scene5Outro);
    add(scene6Turning);
    return moments;
}

std::string describe(const Moment& moment) {
    char text[64];
    std::snprintf(text, sizeof text, "Scene %d %s at %.3f s", moment.scene,
                  moment.phase == Phase::Play ? "playing" : "outro", moment.seconds);
    return text;
}

std::string pngName(std::int64_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(frame));
    return name;
}

// "--frames" for a set of frames, ascending.
std::string frameList(const std::set<std::int64_t>& frames) {
    std::string list;
    for (const std::int64_t frame : frames) {
        list += (list.empty() ? "" : ",") + std::to_string(frame);
    }
    return list;
}

// --- The shared rendering -------------------------------------------------------------------

struct Rendering {
    SharedCapture capture;
    std::vector<ScheduledFrame> schedule;
    FrameCsv log;
    std::int64_t endingFrame = 0; // the frame that ends the run, listed but never shown
};

// The production rendered to its end: the checked moments as pictures, and, listed past them,
// the frame in which the last outro finishes and a frame far beyond, so that the renderer plays
// on to the end whatever the schedule says.
const Rendering& production() {
    static const Rendering rendering = [] {
        Rendering made;
        made.schedule = scheduleProduction(fps);
        made.endingFrame = static_cast<std::int64_t>(made.schedule.size());
        std::set<std::int64_t> frames{made.endingFrame, 99'999};
        for (const Moment& moment : checkedMoments()) {
            frames.insert(frameOf(made.schedule, moment));
        }
        made.capture = sharedCapture({"--quiet", "--fps", std::to_string(fps), "--seed",
                                      std::to_string(outroSeed), "--frames", frameList(frames)});
        if (made.capture.exitCode != 0) {
            throw std::runtime_error("the shared rendering failed with exit code " +
                                     std::to_string(made.capture.exitCode) + ":\n" +
                                     made.capture.errors + "\n" + made.capture.summary);
        }
        made.log = readFrameCsv(made.capture.folder + "/frames.csv");
        return made;
    }();
    return rendering;
}

std::int64_t frameAt(const Moment& moment) {
    return frameOf(production().schedule, moment);
}

// The picture of a checked moment; the log must agree that the frame shows that moment.
const Picture& shot(const Moment& moment) {
    static std::map<std::int64_t, Picture> loaded;
    const Rendering& rendering = production();
    const std::int64_t frame = frameAt(moment);
    if (frame < 0 || frame >= static_cast<std::int64_t>(rendering.log.rows.size())) {
        throw std::runtime_error(describe(moment) + " is not in the rendering's log");
    }
    const FrameRow& row = rendering.log.rows[static_cast<std::size_t>(frame)];
    const char* phase = moment.phase == Phase::Play ? "play" : "outro";
    if (row.scene != moment.scene || row.phase != phase) {
        throw std::runtime_error("frame " + std::to_string(frame) + " should show " +
                                 describe(moment) + " but the log says Scene " +
                                 std::to_string(row.scene) + " " + row.phase);
    }
    const auto known = loaded.find(frame);
    if (known != loaded.end()) {
        return known->second;
    }
    return loaded.emplace(frame, Picture::load(rendering.capture.folder + "/" + pngName(frame)))
        .first->second;
}

const PixelTest lit = [](Rgb pixel, int, int) { return isLit(pixel); };
const PixelTest black = [](Rgb pixel, int, int) { return isBlack(pixel); };
const PixelTest grey = [](Rgb pixel, int, int) { return isGrey(pixel) && isLit(pixel); };
const PixelTest coloured = [](Rgb pixel, int, int) { return !isGrey(pixel); };

double litShare(const Picture& picture, const Box& box = wholePicture) {
    return static_cast<double>(countPixels(picture, box, lit)) / box.area();
}

// The box around a point of the drawing space, `reach` pixels each way.
Box around(double x, double y, int reach) {
    return {columnAt(x) - reach, rowAt(y) - reach, columnAt(x) + reach, rowAt(y) + reach};
}

// The columns within `box` that hold pixels passing `test`, as (first, last); (-1, -1) when
// none do.
std::pair<int, int> columnsWhere(const Picture& picture, const Box& box,
                                 const PixelTest& test = lit) {
    std::pair<int, int> extent{-1, -1};
    for (int column = box.left; column <= box.right; ++column) {
        if (countPixels(picture, {column, box.top, column, box.bottom}, test) > 0) {
            extent.first = extent.first < 0 ? column : extent.first;
            extent.second = column;
        }
    }
    return extent;
}

// --- Timeline ---------------------------------------------------------------------------------

TEST(Production, EveryLoggedFrameShowsTheSceneAndPhaseTheFrameLoopRulesGive) {
    const Rendering& rendering = production();
    EXPECT_EQ(rendering.log.header, "frame,time,scene,phase,scene_time,render_ms");
    EXPECT_EQ(rendering.log.badLines, std::vector<std::string>{});

    // At 60 frames a second, by the rules: Scene 1 plays frames 0-348 (348/60 = 5.8 < 5.815 <=
    // 349/60); its outro's clock reaches 5.51 at 331/60, in frame 680, where Scene 2's clock
    // starts; Scene 2 reaches 11.0 660 frames later, its outro 5.0 another 300 frames on, and so
    // on. Counting each stretch from the frame its clock starts: 349 + 331 + 660 + 300 + 1275 +
    // 180 + 1863 + 175 + 1899 + 235 + 633 + 330 = 8230, so frames 0 to 8229 are shown, and
    // frame 8230, in which the last outro finishes, ends the run unseen.
    EXPECT_EQ(rendering.schedule.size(), 8230u);
    ASSERT_EQ(rendering.log.rows.size(), rendering.schedule.size());

    int mismatches = 0;
    for (std::size_t frame = 0; frame < rendering.schedule.size(); ++frame) {
        const ScheduledFrame& expected = rendering.schedule[frame];
        const FrameRow& row = rendering.log.rows[frame];
        const std::string phase = expected.phase == Phase::Play ? "play" : "outro";
        const bool matches = row.frame == frame &&
                             std::abs(row.time - static_cast<double>(frame) / fps) < 1e-6 &&
                             row.scene == expected.scene && row.phase == phase &&
                             std::abs(row.sceneTime - expected.sceneTime) < 2e-6;
        if (!matches && ++mismatches <= 5) {
            ADD_FAILURE() << "frame " << frame << " logged " << row.frame << ", scene " << row.scene
                          << " " << row.phase << " at " << row.sceneTime
                          << "; the rules give scene " << expected.scene << " " << phase << " at "
                          << expected.sceneTime;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Production, EachSceneHandsOverInTheFrameItsOutroFinishes) {
    const Rendering& rendering = production();
    const auto& rows = rendering.log.rows;
    ASSERT_EQ(rows.size(), rendering.schedule.size());
    for (int scene = 1; scene <= productionSceneCount; ++scene) {
        SCOPED_TRACE("Scene " + std::to_string(scene));
        const std::int64_t lastPlay = frameAt({scene, Phase::Play, lastFrame});
        const std::int64_t lastOutro = frameAt({scene, Phase::Outro, lastFrame});
        ASSERT_GE(lastPlay, 0);
        ASSERT_GT(lastOutro, lastPlay);
        const FrameRow& played = rows[static_cast<std::size_t>(lastPlay)];
        const FrameRow& outroStart = rows[static_cast<std::size_t>(lastPlay + 1)];
        const FrameRow& outroEnd = rows[static_cast<std::size_t>(lastOutro)];
        const float playTime = scenePlayTimes[scene - 1];
        const float runTime = outroRunTimes[scene - 1];
        EXPECT_LT(played.sceneTime, playTime);
        EXPECT_GE(played.sceneTime + 1.0 / fps, playTime - 1e-6);
        EXPECT_EQ(outroStart.phase, "outro");
        EXPECT_EQ(outroStart.sceneTime, 0.0);
        if (scene < productionSceneCount) {
            EXPECT_GE(outroEnd.sceneTime, runTime - 1e-6) << "the outro stopped early";
            EXPECT_LT(outroEnd.sceneTime - 1.0 / fps, runTime) << "the outro ran a frame too long";
            const FrameRow& next = rows[static_cast<std::size_t>(lastOutro + 1)];
            EXPECT_EQ(next.scene, scene + 1);
            EXPECT_EQ(next.phase, "play");
            EXPECT_NEAR(next.sceneTime, 1.0 / fps, 1e-6)
                << "the next Scene's clock did not start in the finishing frame";
        } else {
            // The sixth outro's finishing frame ends the run before it is shown or written:
            // the last frame logged is the one before it.
            EXPECT_LT(outroEnd.sceneTime, runTime);
            EXPECT_GE(outroEnd.sceneTime + 1.0 / fps, runTime - 1e-6);
            EXPECT_EQ(static_cast<std::int64_t>(rows.size()), lastOutro + 1);
        }
    }
    EXPECT_FALSE(
        std::filesystem::exists(rendering.capture.folder + "/" + pngName(rendering.endingFrame)));
}

// --- Scene 1 ----------------------------------------------------------------------------------

// A large square of Scene 1 by its corner of the block, its fixed-function colour keeping the
// order of its channels under the light.
struct BlockSquare {
    const char* name;
    Box inside; // the square's pixels, 8 in from its edges
    bool warm;  // red above green above blue, else red below both
};
constexpr BlockSquare blockSquares[] = {
    {"top right (44, 54, 57)", {328, 104, 503, 231}, false},
    {"bottom right (63, 78, 79)", {328, 248, 503, 375}, false},
    {"bottom left (162, 123, 92)", {136, 248, 311, 375}, true},
    {"top left (220, 215, 201)", {136, 104, 311, 231}, true},
};

const PixelTest warmPixel = [](Rgb pixel, int, int) {
    return pixel.r >= pixel.g && pixel.g >= pixel.b && pixel.r > pixel.b;
};
const PixelTest coolPixel = [](Rgb pixel, int, int) {
    return pixel.r < pixel.g && pixel.g <= pixel.b;
};

TEST(Production, Scene1SquaresSlideIntoTheirQuadrantsAndTheSmallOnesEndAtTheEdges) {
    const Picture& settled = shot(squaresSettled);
    for (const BlockSquare& square : blockSquares) {
        SCOPED_TRACE(square.name);
        EXPECT_EQ(firstFailure(settled, square.inside, square.warm ? warmPixel : coolPixel), "");
    }
    // The block fills [-0.6, 0.6] on both axes and nothing else is drawn beside it yet.
    EXPECT_EQ(firstFailure(settled, {0, 100, 110, 380}, black), "");
    EXPECT_EQ(firstFailure(settled, {530, 100, 639, 380}, black), "");
    EXPECT_EQ(firstFailure(settled, {128, 78, 511, 90}, black), "");
    EXPECT_EQ(firstFailure(settled, {128, 390, 511, 402}, black), "");

    // The small squares have swept to (-0.85, 0.85) and (0.85, -0.85). The corner lines that
    // cross them, drawn after them at the same depth, do not show through.
    const Picture& later = shot(linesHalfGrown);
    EXPECT_EQ(firstFailure(later, {22, 18, 73, 57}, coolPixel), "");
    EXPECT_EQ(firstFailure(later, {566, 426, 617, 461}, coolPixel), "");
}

// Whether every row of `box` (a thin upright strip) holds a lit pixel; the failing row if not.
std::string litInEveryRow(const Picture& picture, const Box& box) {
    for (int row = box.top; row <= box.bottom; ++row) {
        if (countPixels(picture, {box.left, row, box.right, row}, lit) == 0) {
            return "nothing lit in row " + std::to_string(row);
        }
    }
    return "";
}

std::string litInEveryColumn(const Picture& picture, const Box& box) {
    for (int column = box.left; column <= box.right; ++column) {
        if (countPixels(picture, {column, box.top, column, box.bottom}, lit) == 0) {
            return "nothing lit in column " + std::to_string(column);
        }
    }
    return "";
}

TEST(Production, Scene1CornerLinesGrowFromTheirCornersToFrameThePicture) {
    // At 3 s the upright lines, started at 2.5 s, are half grown at two units a second, and the
    // level ones, due at 3.5 s, have not begun.
    const Picture& half = shot(linesHalfGrown);
    EXPECT_EQ(litInEveryRow(half, {37, 100, 39, 200}), "") << "x = -0.88 growing down";
    EXPECT_EQ(firstFailure(half, {37, 270, 39, 470}, black), "");
    EXPECT_EQ(litInEveryRow(half, {600, 280, 602, 410}), "") << "x = 0.88 growing up";
    EXPECT_EQ(firstFailure(half, {600, 10, 602, 200}, black), "");
    EXPECT_EQ(firstFailure(half, {100, 35, 540, 37}, black), "");
    EXPECT_EQ(firstFailure(half, {100, 450, 540, 452}, black), "");

    // At 5.5 s all four are at full length.
    const Picture& full = shot(linesFullyGrown);
    EXPECT_EQ(litInEveryRow(full, {37, 64, 39, 468}), "") << "x = -0.88";
    EXPECT_EQ(litInEveryRow(full, {600, 12, 602, 420}), "") << "x = 0.88";
    EXPECT_EQ(litInEveryColumn(full, {12, 35, 630, 37}), "") << "y = 0.85";
    EXPECT_EQ(litInEveryColumn(full, {8, 450, 626, 452}), "") << "y = -0.88";
}

// The mean over lit pixels of `measure`.
template <typename Measure> double meanOverLit(const Picture& picture, Measure measure) {
    double sum = 0;
    int count = 0;
    for (int row = 0; row < pictureHeight; ++row) {
        for (int column = 0; column < pictureWidth; ++column) {
            if (isLit(picture.at(column, row))) {
                sum += measure(column, row);
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : 0.0;
}

// The first frame of a particle outro draws every particle at the top-left corner, where it
// stood before its first step: one lit pixel.
void expectOnlyTheCornerLit(const Picture& picture) {
    EXPECT_EQ(countPixels(picture, wholePicture, lit), 1);
    EXPECT_TRUE(isLit(picture.at(0, 0)));
}

TEST(Production, Scene1OutroCapturesTheLastPictureAndScattersItToTheEdges) {
    // The Scene is still by its end, so the outro's first frame, which draws it once more,
    // shows what the last playing frame showed.
    EXPECT_TRUE(shot(scene1Capture) == shot(scene1End));
    expectOnlyTheCornerLit(shot(scene1FirstDrawing));

    // Each particle flies straight to a screen edge and vanishes there: the lit pixels draw
    // towards the edges and the block they came from empties.
    const auto toNearestEdge = [](int column, int row) {
        return std::min({column, pictureWidth - 1 - column, row, pictureHeight - 1 - row});
    };
    const Box block{128, 96, 511, 383};
    double previousDistance = 1e9;
    double previousShare = 1.0;
    for (const Moment& moment : scene1Scatter) {
        SCOPED_TRACE(describe(moment));
        const Picture& picture = shot(moment);
        const double distance = meanOverLit(picture, toNearestEdge);
        const double share = litShare(picture, block);
        EXPECT_LT(distance, previousDistance);
        EXPECT_LT(share, previousShare);
        EXPECT_GT(countPixels(picture, wholePicture, lit), 0);
        previousDistance = distance;
        previousShare = share;
    }
    EXPECT_EQ(firstFailure(shot(scene1Finish), wholePicture, black), "")
        << "the finishing frame is black";
}

// --- Scene 2 ----------------------------------------------------------------------------------

const PixelTest radialBlobsWhereLit = [](Rgb pixel, int column, int row) {
    return isBlack(pixel) || showsRadialBlobs(pixel, column, row);
};

TEST(Production, Scene2TitleIsCentredOnTheMiddleLineInTheBlobColours) {
    const Picture& picture = shot(titleAlone);
    // Only the title is drawn in the middle band before the strokes come.
    const Box band{240, 200, 400, 250};
    const auto [left, right] = columnsWhere(picture, band);
    ASSERT_GE(left, 0) << "no title";
    EXPECT_NEAR((left + right) / 2.0, 320.0, 3.0) << "ink from " << left << " to " << right;
    EXPECT_GT(right - left, 60);
    int lowestRow = -1;
    for (int row = band.top; row <= band.bottom; ++row) {
        lowestRow = countPixels(picture, {band.left, row, band.right, row}, lit) ? row : lowestRow;
    }
    EXPECT_GE(lowestRow, 236) << "the baseline is y = 0, row 240";
    EXPECT_LE(lowestRow, 240);

    for (const Moment& moment : {titleAlone, strokesFalling, strokesLanded}) {
        SCOPED_TRACE(describe(moment));
        EXPECT_EQ(firstFailure(shot(moment), wholePicture, radialBlobsWhereLit), "");
    }
}

TEST(Production, Scene2StrokesSettleOnTheirGridPoints) {
    const Picture& picture = shot(strokesLanded);
    // Stroke 7i + j starts at 1.5 + 0.21 (7i + j) s and rests at (j/3 - 1, i/3 - 1) one second
    // later; by 10.9 s strokes 0 to 39 have arrived. Those inside the window must show there.
    int checked = 0;
    for (int i = 1; i <= 5; ++i) {
        for (int j = 1; j <= 5; ++j) {
            if (7 * i + j > 39) {
                continue;
            }
            SCOPED_TRACE("stroke " + std::to_string(7 * i + j));
            EXPECT_GT(countPixels(picture, around(j / 3.0 - 1, i / 3.0 - 1, 2), lit), 0);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 24);
    EXPECT_LT(litShare(picture), 0.1) << "strokes and outlines are thin lines on black";
}

// --- Scene 3 ----------------------------------------------------------------------------------

const PixelTest glowWhereLit = [](Rgb pixel, int column, int row) {
    return isBlack(pixel) || showsGaussianGlow(pixel, column, row);
};

TEST(Production, Scene3SignOffAndEveryShapeShowTheGaussianGlow) {
    const Picture& picture = shot(signOffClear);
    const auto [left, right] = columnsWhere(picture, {150, 200, 490, 250});
    ASSERT_GE(left, 0) << "no sign-off line";
    EXPECT_NEAR((left + right) / 2.0, 320.0, 3.0) << "ink from " << left << " to " << right;
    EXPECT_GT(right - left, 200);
    // The glow is saturated this close to the centre: (1, 123/162, 92/162).
    const Rgb centre{255, 194, 145};
    EXPECT_EQ(firstFailure(picture, {left, 215, right, 245},
                           [&](Rgb pixel, int, int) { return isBlack(pixel) || pixel == centre; }),
              "");

    for (const Moment& moment : {signOffClear, fiveRectanglesDown, nineRectanglesDown, scene3End}) {
        SCOPED_TRACE(describe(moment));
        EXPECT_EQ(firstFailure(shot(moment), wholePicture, glowWhereLit), "");
    }
}

TEST(Production, Scene3RectanglesLandSideBySideOnTheBottomLine) {
    // Rectangle k lands at (-0.9 + 0.2 k, -0.81) at 2.125 (k + 1) s: 0.2 x 0.14 each, they fill
    // rows 418-450 from the left edge, one more every 2.125 s.
    const Picture& five = shot(fiveRectanglesDown);
    EXPECT_EQ(firstFailure(five, {2, 421, 317, 447}, lit), "");
    EXPECT_LT(litShare(five, {390, 421, 639, 447}), 0.3) << "rectangles 6 to 9 are not down";

    const Picture& nine = shot(nineRectanglesDown);
    EXPECT_EQ(firstFailure(nine, {2, 421, 573, 447}, lit), "");
    EXPECT_LT(litShare(nine, {580, 421, 637, 447}), 0.5) << "the tenth is still on its way";
    EXPECT_LT(litShare(nine, {0, 405, 639, 413}), 0.05) << "the row sits on y = -0.81";
    EXPECT_LT(litShare(nine, {0, 455, 639, 463}), 0.05) << "the row sits on y = -0.81";
}

// --- Outros of the shader Scenes ----------------------------------------------------------------
// An outro draws its composed picture as one block of pixels with the Scene's program still in
// use and its uniforms as they were last uploaded, so the program colours every pixel of the
// block, black ones included: after the first outro frame the window shows the Scene's field,
// frozen, and nothing of the particles or the curtain.

void expectFrozenField(const Moment& capture, const std::vector<Moment>& later,
                       const PixelTest& field) {
    EXPECT_LT(litShare(shot(capture)), 0.5) << "the first outro frame still shows the Scene";
    for (const Moment& moment : later) {
        SCOPED_TRACE(describe(moment));
        const Picture& picture = shot(moment);
        EXPECT_EQ(firstFailure(picture, wholePicture, field), "");
        EXPECT_TRUE(picture == shot(later.front())) << "the field moved";
    }
}

TEST(Production, Scene2OutroShowsTheFrozenBlobFieldOverTheWholeWindow) {
    expectFrozenField(scene2Capture, {std::begin(scene2Outro), std::end(scene2Outro)},
                      [](Rgb pixel, int column, int row) {
                          return isLit(pixel) && showsRadialBlobs(pixel, column, row);
                      });
}

TEST(Production, Scene3OutroShowsTheGlowOverTheWholeWindow) {
    expectFrozenField(
        scene3Capture, {std::begin(scene3Outro), std::end(scene3Outro)},
        [](Rgb pixel, int column, int row) { return showsGaussianGlow(pixel, column, row); });
}

// --- Scene 4 ----------------------------------------------------------------------------------
// Scene 4 has no program: the backdrop's texture shows in pure greys, while the lit objects and
// the credit lines, coloured by the light, never come out grey. Places that only the backdrop
// reaches while the objects turn:
constexpr Box backdropOnly[] = {{230, 250, 420, 330}, {0, 0, 120, 80}};

TEST(Production, Scene4BackdropIsGreyAndLiesBehindTheObjectsDrawnBeforeIt) {
    for (const Moment& moment : {codeCredit[1], musicCredit[0], graphicsCredit}) {
        SCOPED_TRACE(describe(moment));
        const Picture& picture = shot(moment);
        for (const Box& box : backdropOnly) {
            EXPECT_EQ(firstFailure(picture, box, grey), "");
            int darkest = 255;
            int lightest = 0;
            countPixels(picture, box, [&](Rgb pixel, int, int) {
                darkest = std::min(darkest, pixel.r);
                lightest = std::max(lightest, pixel.r);
                return true;
            });
            EXPECT_GT(lightest - darkest, 20) << "the fault lines make the grey uneven";
        }
        // The Penrose tiling and the polygon ring come before the backdrop in the drawing
        // order; at the same place the backdrop, further back, must not cover them.
        EXPECT_FALSE(isGrey(picture.at(columnAt(-0.61), rowAt(-0.61))))
            << "Penrose tiling at (-0.61, -0.61)";
        EXPECT_FALSE(isGrey(picture.at(columnAt(0.61), rowAt(-0.61))))
            << "polygon ring at (0.61, -0.61)";
        EXPECT_GT(static_cast<double>(countPixels(picture, wholePicture, grey)) /
                      wholePicture.area(),
                  0.6);
    }
}

// The credit title stands at (-0.55, 0.51), its handle 0.1 below. The boxes keep to the columns
// that no curve reaches at the moments used.
constexpr Box codeTitleStart{140, 96, 178, 114}; // "CO" of "CODE"
constexpr Box titleArea{140, 96, 300, 121};
constexpr Box handleArea{140, 122, 200, 150};

std::vector<bool> inkOf(const Moment& moment, const Box& box) {
    return maskOf(shot(moment), box, coloured);
}

int inkIn(const Moment& moment, const Box& box) {
    return countPixels(shot(moment), box, coloured);
}

TEST(Production, Scene4CreditsStandInTurnInTheTitleArea) {
    // The first pair is revealed by 2 s and stands until 9 s, then vanishes. (The dragon sweeps
    // through the title area in its last seconds, so the checks before 9 s stop at 6 s.)
    for (const Moment& moment : codeCredit) {
        SCOPED_TRACE(describe(moment));
        EXPECT_GT(inkIn(moment, codeTitleStart), 30);
        EXPECT_TRUE(inkOf(moment, codeTitleStart) == inkOf(codeCredit[0], codeTitleStart))
            << "the true text does not flicker";
    }
    EXPECT_EQ(firstFailure(shot(codeCreditGone), codeTitleStart, grey), "");

    // The second pair appears at 10 s as noise, new letters every frame, and stands from 12 s.
    EXPECT_GT(inkIn(musicNoise[0], titleArea), 30);
    EXPECT_FALSE(inkOf(musicNoise[0], titleArea) == inkOf(musicNoise[1], titleArea));
    EXPECT_FALSE(inkOf(musicNoise[1], titleArea) == inkOf(musicCredit[0], titleArea));
    EXPECT_TRUE(inkOf(musicCredit[0], titleArea) == inkOf(musicCredit[1], titleArea));
    EXPECT_FALSE(inkOf(musicCredit[0], codeTitleStart) == inkOf(codeCredit[0], codeTitleStart))
        << "MUSIC stands where CODE stood";

    // The third title is the longest; every pair's handle is the same word in the same place.
    const int musicRight = columnsWhere(shot(musicCredit[0]), titleArea, coloured).second;
    ASSERT_GT(musicRight, titleArea.left);
    EXPECT_GT(inkIn(graphicsCredit, {musicRight + 20, 96, 300, 121}), 30)
        << "GRAPHICS (IF ANY) reaches beyond MUSIC";
    EXPECT_GT(inkIn(musicCredit[0], handleArea), 30);
    EXPECT_TRUE(inkOf(musicCredit[0], handleArea) == inkOf(musicCredit[1], handleArea));
    EXPECT_TRUE(inkOf(musicCredit[0], handleArea) == inkOf(graphicsCredit, handleArea));
}

TEST(Production, Scene4BackdropTurnsAndShrinksToNothingInItsLastSixSeconds) {
    const Picture& whole = shot(graphicsCredit);
    const Picture& shrinking = shot(backdropShrinking);
    for (const auto& [column, row] : {std::pair{1, 1}, {638, 1}, {1, 478}, {638, 478}}) {
        SCOPED_TRACE("corner " + std::to_string(column) + ", " + std::to_string(row));
        EXPECT_TRUE(isGrey(whole.at(column, row)) && isLit(whole.at(column, row)))
            << "the backdrop fills the window before 25 s";
        EXPECT_TRUE(isBlack(shrinking.at(column, row)));
    }
    // From 25 s its scale falls from 1 to 0 in 6.05 s, two frames behind its clock: at 28 s
    // about half of each side is left, a quarter of the window, less what the objects cover.
    const double area = static_cast<double>(wholePicture.area());
    const double oldest = 1.0 - (28.0 - 25.0) / 6.05;
    const double youngest = 1.0 - (28.0 - 25.0 - 0.1) / 6.05;
    const int shown = countPixels(shrinking, wholePicture, grey);
    EXPECT_GT(shown, 0.85 * oldest * oldest * area);
    EXPECT_LT(shown, youngest * youngest * area);
    EXPECT_TRUE(isGrey(shrinking.at(320, 240)) && isLit(shrinking.at(320, 240)));

    EXPECT_LT(countPixels(shot(backdropGone), wholePicture, grey), 0.005 * area);
}

// The mean distance of the lit pixels from the centre of their own cell of a 5 x 5 grid.
double meanDistanceToCellCentres(const Picture& picture) {
    constexpr int cellWidth = pictureWidth / 5;
    constexpr int cellHeight = pictureHeight / 5;
    return meanOverLit(picture, [](int column, int row) {
        const int centreColumn = column / cellWidth * cellWidth + cellWidth / 2;
        const int centreRow = row / cellHeight * cellHeight + cellHeight / 2;
        return std::hypot(column - centreColumn, row - centreRow);
    });
}

TEST(Production, Scene4OutroGathersTheParticlesAtTheCentresOfTheirCells) {
    expectOnlyTheCornerLit(shot(scene4FirstDrawing));
    double previous = 1e9;
    for (const Moment& moment : scene4Gather) {
        SCOPED_TRACE(describe(moment));
        const double distance = meanDistanceToCellCentres(shot(moment));
        EXPECT_GT(countPixels(shot(moment), wholePicture, lit), 0);
        EXPECT_LT(distance, previous);
        previous = distance;
    }
    EXPECT_LT(previous, 10.0) << "most particles have reached their centres";
    EXPECT_EQ(firstFailure(shot(scene4Finish), wholePicture, black), "");
}

// --- Scene 5 ----------------------------------------------------------------------------------

const PixelTest gradientNoiseWhereLit = [](Rgb pixel, int column, int row) {
    return isBlack(pixel) || showsGradientNoise(pixel, column, row);
};
const PixelTest gradientNoise = [](Rgb pixel, int column, int row) {
    return isLit(pixel) && showsGradientNoise(pixel, column, row);
};

// The box of a greeting line's letters between its x-height and its baseline, at x = 0.15 and
// y = -0.21 - 0.1 k.
Box greetingBox(int k) {
    const int baseline = rowAt(-0.21 - 0.1 * k);
    return {columnAt(0.15), baseline - 13, columnAt(0.15) + 102, baseline - 2};
}

TEST(Production, Scene5PanelAndGreetingsShowTheNoiseFieldInTurn) {
    const Picture& early = shot(beforePanel);
    EXPECT_EQ(firstFailure(early, {480, 0, 639, 479}, black), "") << "the panel comes at 2.1 s";
    EXPECT_GT(countPixels(early, {165, 50, 340, 72}, lit), 100) << "WE RESPECT from the start";

    // The names come one every 3.5 s from 3.3 s, top to bottom.
    const std::pair<Moment, int> shownNames[] = {
        {firstGreeting, 1}, {thirdGreeting, 3}, {allGreetings, 8}};
    for (const auto& [moment, names] : shownNames) {
        SCOPED_TRACE(describe(moment));
        const Picture& picture = shot(moment);
        EXPECT_EQ(firstFailure(picture, {480, 0, 639, 479}, gradientNoise), "")
            << "the panel covers x from 0.5 to 1";
        EXPECT_EQ(firstFailure(picture, {0, 0, 479, 40}, black), "");
        EXPECT_EQ(firstFailure(picture, {479, 0, 479, 260}, black), "");
        EXPECT_EQ(firstFailure(picture, wholePicture, gradientNoiseWhereLit), "");
        for (int k = 0; k < 8; ++k) {
            SCOPED_TRACE("greeting " + std::to_string(k + 1));
            const int ink = countPixels(picture, greetingBox(k), lit);
            if (k < names) {
                EXPECT_GT(ink, 50);
            } else {
                EXPECT_EQ(ink, 0);
            }
        }
    }
}

TEST(Production, Scene5OutroShowsTheFrozenNoiseFieldOverTheWholeWindow) {
    expectFrozenField(scene5Capture, {std::begin(scene5Outro), std::end(scene5Outro)},
                      gradientNoise);
}

// --- Scene 6 ----------------------------------------------------------------------------------
// The closing card's lines are drawn through the same program as the square behind them, so
// their pixels take the very greys of the field around them: the whole window is the field.

TEST(Production, Scene6ShowsTheRandomSourcesFieldTurningOverTheWholeWindow) {
    std::vector<const Picture*> pictures{&shot(scene6First)};
    for (const Moment& moment : scene6Turning) {
        pictures.push_back(&shot(moment));
    }
    for (const Picture* picture : pictures) {
        EXPECT_EQ(firstFailure(*picture, wholePicture, showsRandomSources), "");
        std::set<int> levels;
        countPixels(*picture, wholePicture, [&](Rgb pixel, int, int) {
            levels.insert(pixel.r);
            return true;
        });
        EXPECT_GE(levels.size(), 10u) << "fifty pairs of points cut the window into many greys";
    }
    for (std::size_t i = 1; i < pictures.size(); ++i) {
        EXPECT_TRUE(*pictures[i] != *pictures[i - 1]) << "the points stopped turning";
    }
}

TEST(Production, Scene6CurtainRowsAreShadedByTheFrozenFieldLikeEveryOtherRow) {
    // The curtain blackens the top rows of the captured picture, 240 of them after 2.75 s, but
    // draws them through the Scene's program with everything else: every frame shows what the
    // outro captured.
    const Picture& captured = shot(curtainCapture);
    EXPECT_EQ(firstFailure(captured, wholePicture, showsRandomSources), "");
    EXPECT_TRUE(shot(curtainHalfWay) == captured);
    EXPECT_TRUE(shot(curtainLastShown) == captured);
}

// --- Repeating runs ---------------------------------------------------------------------------

// A short run of the renderer into a scratch folder.
struct ShortRun {
    TempFolder folder;
    ProcessResult result;
    std::string frames() const { return folder / "frames"; }
};

void runShort(ShortRun& run, const std::vector<std::string>& arguments) {
    std::vector<std::string> command{builtProgram("ombra-capture"), "--quiet", "--out",
                                     run.frames()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    run.result = runProcess(command, run.folder.path());
}

TEST(Production, TheSameSeedDissolvesScene1ByteForByteAsTheFullRun) {
    const Rendering& rendering = production();
    const std::vector<Moment> moments{scene1Capture,    scene1FirstDrawing, scene1Scatter[0],
                                      scene1Scatter[1], scene1Scatter[2],   scene1Finish};
    std::set<std::int64_t> frames;
    for (const Moment& moment : moments) {
        frames.insert(frameAt(moment));
    }
    ShortRun run;
    runShort(run, {"--fps", std::to_string(fps), "--seed", std::to_string(outroSeed), "--frames",
                   frameList(frames)});
    ASSERT_EQ(run.result.exitCode, 0) << run.result.err;
    for (const std::int64_t frame : frames) {
        SCOPED_TRACE("frame " + std::to_string(frame));
        const std::string bytes = readFile(run.frames() + "/" + pngName(frame));
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(bytes == readFile(rendering.capture.folder + "/" + pngName(frame)));
    }
    const FrameCsv log = readFrameCsv(run.frames() + "/frames.csv");
    ASSERT_EQ(log.rows.size(), static_cast<std::size_t>(*frames.rbegin() + 1));
    for (std::size_t i = 0; i < log.rows.size(); ++i) {
        EXPECT_EQ(log.rows[i].phase, rendering.log.rows[i].phase);
        EXPECT_EQ(log.rows[i].sceneTime, rendering.log.rows[i].sceneTime);
    }
}

TEST(Production, BuiltContentIsTheSameWhateverTheSeedAndFrameRate) {
    // The backdrop and the random points come from the C generator before anything seeds it, so
    // another seed and another frame rate must show the same ones. One frame a second plays the
    // whole production in a few seconds.
    constexpr int slowFps = 1;
    const std::vector<ScheduledFrame> slowSchedule = scheduleProduction(slowFps);
    const Moment backdropMoment = codeCredit[1];
    const std::int64_t backdropFrame = frameOf(slowSchedule, backdropMoment);
    const std::int64_t fieldFrame = frameOf(slowSchedule, scene6First);
    ShortRun run;
    runShort(run, {"--fps", std::to_string(slowFps), "--seed", std::to_string(outroSeed + 1),
                   "--frames", frameList({backdropFrame, fieldFrame})});
    ASSERT_EQ(run.result.exitCode, 0) << run.result.err;

    // The objects stand elsewhere one frame a second, but wherever both runs show the backdrop
    // they show the same greys.
    const Picture slowBackdrop = Picture::load(run.frames() + "/" + pngName(backdropFrame));
    const Picture& backdrop = shot(backdropMoment);
    int shared = 0;
    const std::string differing =
        firstFailure(slowBackdrop, wholePicture, [&](Rgb pixel, int column, int row) {
            const Rgb other = backdrop.at(column, row);
            if (!grey(pixel, column, row) || !grey(other, column, row)) {
                return true;
            }
            ++shared;
            return pixel == other;
        });
    EXPECT_EQ(differing, "");
    EXPECT_GT(shared, wholePicture.area() / 2);

    // Scene 6's first frame is drawn before its hook has turned any point.
    EXPECT_TRUE(Picture::load(run.frames() + "/" + pngName(fieldFrame)) == shot(scene6First));
}

} // namespace
