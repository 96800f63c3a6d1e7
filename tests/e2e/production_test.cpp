// The whole production through the offline renderer: one shared 60 fps rendering checked frame
// by frame against the frame loop's rules and on pixels at chosen moments of each Scene.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "capture_files.h"
#include "child_process.h"

namespace {

namespace fs = std::filesystem;

// The frame loop's schedule worked out from its rules: each frame's Scene, phase and clock.
enum class Phase { Play, Outro };

constexpr float scenePlayTimes[] = {5.815f, 11.0f, 21.25f, 31.05f, 31.65f, 10.55f};
constexpr float outroRunTimes[] = {5.51f, 5.0f, 3.0f, 2.91f, 3.91f, 5.5f};

// Scene 1 to 6, its phase, and the Scene's clock while it plays or the outro's own clock after.
struct Moment {
    int scene;
    Phase phase;
    double seconds;
};

// Every frame shown at `fps`. Frame n happens at n / fps s in 100 ns ticks, read as float. The
// frame in which an outro's clock reaches its run time starts the next Scene's clock, unshown
// after the last outro.
std::vector<Moment> scheduleProduction(int fps) {
    const auto seconds = [fps](std::int64_t startFrame, std::int64_t frame) {
        const auto ticks = [fps](std::int64_t n) { return (2 * n * 10'000'000 + fps) / (2 * fps); };
        return static_cast<float>(static_cast<double>(ticks(frame) - ticks(startFrame))) / 1e7f;
    };
    std::vector<Moment> schedule;
    std::int64_t frame = 0, clockStart = 0; // the frame in which the Scene's clock starts
    for (int scene = 1; scene <= 6; ++scene) {
        for (; seconds(clockStart, frame) < scenePlayTimes[scene - 1]; ++frame) {
            schedule.push_back({scene, Phase::Play, seconds(clockStart, frame)});
        }
        const std::int64_t outroStart = frame;
        for (; seconds(outroStart, frame) < outroRunTimes[scene - 1]; ++frame) {
            schedule.push_back({scene, Phase::Outro, seconds(outroStart, frame)});
        }
        if (scene < 6) { // the finishing frame, in which the next Scene's clock starts
            schedule.push_back({scene, Phase::Outro, seconds(outroStart, frame)});
        }
        clockStart = frame++;
    }
    return schedule;
}

// The first frame of the moment's Scene and phase whose clock reads at least its seconds, else
// the phase's last frame; -1 when it never shows.
std::int64_t frameOf(const std::vector<Moment>& schedule, const Moment& moment) {
    std::int64_t last = -1;
    for (std::int64_t frame = 0; frame < std::int64_t(schedule.size()); ++frame) {
        if (schedule[frame].scene == moment.scene && schedule[frame].phase == moment.phase) {
            last = frame;
            if (schedule[frame].seconds >= moment.seconds) {
                break;
            }
        }
    }
    return last;
}

struct Rgb { // a pixel of a rendered frame
    int r, g, b;
    bool isBlack() const { return r == 0 && g == 0 && b == 0; }
    bool isGrey() const { return r == g && g == b; }
};

struct Box { // inclusive
    int left, top, right, bottom;
};

constexpr Box whole{0, 0, 639, 479};

using PixelTest = std::function<bool(Rgb pixel, int column, int row)>;

// A 640x480 RGB frame, row 0 at the top.
struct Picture {
    std::vector<std::uint8_t> bytes;

    // A pixel's centre as a fragment shader sees it: 0 to 1 across and up the window.
    static double fragmentX(int column) { return (column + 0.5) / 640; }
    static double fragmentY(int row) { return (479 - row + 0.5) / 480; }

    bool operator==(const Picture& other) const { return bytes == other.bytes; }
    Rgb at(int column, int row) const {
        const std::size_t offset = (static_cast<std::size_t>(row) * 640 + column) * 3;
        return {bytes.at(offset), bytes.at(offset + 1), bytes.at(offset + 2)};
    }

    // How many pixels of `box` pass `test`; `failure` tells of the first that does not.
    int count(const Box& box, const PixelTest& test, std::string* failure = nullptr) const {
        int passing = 0;
        for (int row = box.top; row <= box.bottom; ++row) {
            for (int column = box.left; column <= box.right; ++column) {
                const Rgb p = at(column, row);
                const bool passes = test(p, column, row);
                passing += passes ? 1 : 0;
                if (!passes && failure && failure->empty()) {
                    *failure = "column " + std::to_string(column) + ", row " + std::to_string(row) +
                               ": " + std::to_string(p.r) + " " + std::to_string(p.g) + " " +
                               std::to_string(p.b);
                }
            }
        }
        return passing;
    }
    std::string firstFailure(const Box& box, const PixelTest& test) const {
        std::string failure;
        count(box, test, &failure);
        return failure;
    }
};

constexpr int fps = 60;
constexpr unsigned outroSeed = 20220604;
constexpr Phase Play = Phase::Play, Outro = Phase::Outro;
constexpr double last = 1e9; // a moment past the end of a phase: its last frame

// The moments the tests look at: the shared rendering writes the pictures of exactly these.
const std::vector<Moment> checkedMoments{
    {1, Play, last},  {1, Outro, 0.0}, {1, Outro, 0.01}, {1, Outro, 0.5}, {1, Outro, 3.0},
    {1, Outro, last}, {2, Play, 0.5},  {3, Play, 19.5},  {3, Outro, 0.0}, {3, Outro, 1.0},
    {3, Outro, last}, {4, Play, 4.0},  {5, Play, 29.0},  {5, Outro, 0.0}, {5, Outro, 1.0},
    {5, Outro, last}, {6, Play, 0.0},  {6, Play, 5.0},   {6, Outro, 0.0}, {6, Outro, last}};
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

// The shared rendering, cached on disk under a lock so that test processes running side by side
// make it once between them. A frame listed far past the end makes it play to the very end.
std::string renderProduction() {
    // The kernel drops the lock when the process dies, so a killed test leaves none behind.
    struct OpenFile {
        const int fd;
        ~OpenFile() { close(fd); }
    };
    const fs::path folder = fs::path(OMBRA_TEST_DATA) / "production";
    fs::create_directories(folder.parent_path());
    const OpenFile lock{open((folder.string() + ".lock").c_str(), O_CREAT | O_RDWR, 0644)};
    if (lock.fd < 0 || flock(lock.fd, LOCK_EX) != 0) {
        throw std::runtime_error("cannot lock " + folder.string());
    }
    const std::string program = builtProgram("ombra-capture");
    const std::vector<std::string> command{program,
                                           "--out",
                                           (folder / "frames").string(),
                                           "--quiet",
                                           "--seed",
                                           std::to_string(outroSeed),
                                           "--frames",
                                           frameList(schedule, checkedMoments) + "," +
                                               std::to_string(schedule.size() - 1)};
    // The renderer's size and time, so that a rebuild renders afresh, and its arguments;
    // written last, so that a run cut short is never taken for a finished one.
    std::string identity = std::to_string(fs::file_size(program)) + " " +
                           std::to_string(fs::last_write_time(program).time_since_epoch().count());
    for (const std::string& argument : command) {
        identity += "\n" + argument;
    }
    if (readFile((folder / "identity").string()) != identity) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        const ProcessResult run = runProcess(command, folder.string(), std::chrono::seconds(540));
        if (run.exitCode != 0) {
            throw std::runtime_error("the rendering failed with " + std::to_string(run.exitCode) +
                                     ": " + run.err);
        }
        std::ofstream(folder / "identity") << identity;
    }
    return (folder / "frames").string();
}

const std::string& production() {
    static const std::string folder = renderProduction();
    return folder;
}

Picture shot(const Moment& moment) {
    const std::string path = production() + pngName(frameOf(schedule, moment));
    PngPicture png = readPng(path);
    if (!png.is640x480Rgb) {
        throw std::runtime_error(path + " is not a readable 640x480 RGB picture");
    }
    return {std::move(png.rows)};
}

const PixelTest lit = [](Rgb pixel, int, int) { return !pixel.isBlack(); };
const PixelTest black = [](Rgb pixel, int, int) { return pixel.isBlack(); };
const PixelTest litGrey = [](Rgb pixel, int, int) { return pixel.isGrey() && !pixel.isBlack(); };

TEST(Production, EveryLoggedFrameShowsTheSceneAndPhaseTheFrameLoopRulesGive) {
    const FrameCsv log = readFrameCsv(production() + "/frames.csv");
    EXPECT_EQ(log.badLines, std::vector<std::string>{});
    // Counted by hand: 349 + 331 + 660 + 300 + 1275 + 180 + 1863 + 175 + 1899 + 235 + 633 + 330.
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

// The background shaders' formulas on the processor, allowing a rounding to bytes.
bool near(int byte, double expected) {
    return std::abs(byte - expected * 255.0) <= 1.0;
}

// Scene 3: a warm Gaussian glow around the centre, never below half.
bool showsGaussianGlow(Rgb pixel, int column, int row) {
    const double qx = Picture::fragmentX(column) - 0.5;
    const double qy = 0.5 - Picture::fragmentY(row);
    const double value = std::clamp(2.0 * std::exp(-(qx * qx + qy * qy) / 0.125), 0.5, 1.0);
    return near(pixel.r, value) && near(pixel.g, value * 123 / 162) &&
           near(pixel.b, value * 92 / 162);
}

// Scene 2: three blobs set one value; blue is value * 113/176, red and green scale it by the
// smaller and the larger of the fragment's coordinates. Checked without the blobs' centres.
bool showsRadialBlobs(Rgb pixel, int column, int row) {
    const double value = pixel.b / 255.0 * 176 / 113;
    const double x = Picture::fragmentX(column), y = Picture::fragmentY(row);
    const double slack = 1.5 + 0.5 * 176 / 113;
    return std::abs(pixel.r - std::min(x, y) * value * 255) <= slack &&
           std::abs(pixel.g - std::max(x, y) * value * 155 / 176 * 255) <= slack &&
           value >= 0.41 - 0.01 && value <= 1.0 + 0.01;
}

// Scene 5: red and green carry one noise value through sin(x) and cos(y); blue stays >= 0.5.
bool showsGradientNoise(Rgb pixel, int column, int row) {
    const double sinX = std::abs(std::sin(Picture::fragmentX(column)));
    const double cosY = std::abs(std::cos(Picture::fragmentY(row)));
    const double fromGreen = pixel.g / 255.0 / cosY;
    const double greenError = 0.5 / 255 / cosY + 1e-3;
    return std::abs(pixel.r / 255.0 / sinX - fromGreen) <= 0.5 / 255 / sinX + greenError &&
           fromGreen >= 0.33 - greenError && fromGreen <= 1.0 + greenError && pixel.b >= 127;
}

// Scene 6: a grey of 0.66 moved by fifty votes of 0.04, clamped: an even number of steps.
bool showsRandomSources(Rgb pixel, int, int) {
    bool onStep = pixel.r == 0 || pixel.r == 255;
    for (int step = 0; step <= 12; ++step) {
        onStep = onStep || std::abs(pixel.r - (0.02 + 0.08 * step) * 255.0) <= 0.5 + 1e-3;
    }
    return pixel.isGrey() && onStep;
}

TEST(Production, ShaderScenesColourTheirShapesAndTheirOutrosShowTheFrozenField) {
    // The outro draws the captured picture with the Scene's program still in use, so after its
    // first frame the window shows the Scene's field, frozen.
    for (const auto& [scene, playing, field] :
         {std::tuple{3, 19.5, &showsGaussianGlow}, std::tuple{5, 29.0, &showsGradientNoise}}) {
        SCOPED_TRACE("Scene " + std::to_string(scene));
        const auto orBlack = [&](Rgb p, int c, int r) { return p.isBlack() || field(p, c, r); };
        EXPECT_EQ(shot({scene, Play, playing}).firstFailure(whole, orBlack), "");
        EXPECT_LT(shot({scene, Outro, 0.0}).count(whole, lit), 0.5 * 640 * 480)
            << "the first outro frame shows the Scene, not the field";
        const Picture frozen = shot({scene, Outro, 1.0});
        EXPECT_EQ(frozen.firstFailure(whole, field), "");
        EXPECT_TRUE(shot({scene, Outro, last}) == frozen) << "the field moved";
    }
}

TEST(Production, Scene2TitleShowsTheBlobFieldNotItsOwnColour) {
    const Picture picture = shot({2, Play, 0.5});
    EXPECT_GT(picture.count(Box{280, 215, 360, 240}, lit), 100) << "no title at the centre";
    const auto orBlack = [](Rgb p, int c, int r) {
        return p.isBlack() || showsRadialBlobs(p, c, r);
    };
    EXPECT_EQ(picture.firstFailure(whole, orBlack), "");
}

TEST(Production, Scene4BackdropIsGreyAndLiesBehindTheObjects) {
    // The backdrop shows in pure greys; the lit objects and credits never come out grey.
    const Picture picture = shot({4, Play, 4.0});
    EXPECT_GT(picture.count(whole, litGrey), 0.6 * 640 * 480);
    // Places only the backdrop reaches, made uneven by fault lines.
    for (const Box& box : {Box{230, 250, 420, 330}, Box{0, 0, 120, 80}}) {
        const int corner = picture.at(box.left, box.top).r;
        const auto unlike = [&](Rgb p, int, int) { return std::abs(p.r - corner) > 10; };
        EXPECT_EQ(picture.firstFailure(box, litGrey), "");
        EXPECT_GT(picture.count(box, unlike), 0);
    }
    // Drawn before the backdrop, which lies further back: the tiling and the polygon ring.
    EXPECT_FALSE(picture.at(124, 386).isGrey());
    EXPECT_FALSE(picture.at(515, 386).isGrey());
}

// The closing card's four lines stand in the text colour over the field.
bool isCardText(Rgb pixel) {
    return pixel.r == 135 && pixel.g == 128 && pixel.b == 94;
}

TEST(Production, Scene6ShowsItsLinesOverTheTurningFieldAndTheCurtainOnlyTheFrozenField) {
    const auto fieldOrText = [](Rgb p, int c, int r) {
        return isCardText(p) || showsRandomSources(p, c, r);
    };
    const auto text = [](Rgb p, int, int) { return isCardText(p); };
    const Box lines{100, 200, 540, 340}; // the release line at mid-height, the greetings below
    const Picture card = shot({6, Play, 5.0});
    EXPECT_EQ(card.firstFailure(whole, fieldOrText), "");
    EXPECT_GT(card.count(lines, text), 1500) << "the credits are not on the card";
    EXPECT_EQ(card.count(whole, text), card.count(lines, text));
    EXPECT_FALSE(shot({6, Play, 0.0}) == shot({6, Play, 5.0})) << "the points stopped turning";

    // The curtain's rows go through the field's program, frozen with the values the card's last
    // picture used: the text is gone, the field under it unchanged.
    const Picture captured = shot({6, Outro, 0.0});
    const Picture curtain = shot({6, Outro, last});
    EXPECT_EQ(captured.count(lines, text), card.count(lines, text));
    EXPECT_EQ(curtain.firstFailure(whole, showsRandomSources), "");
    EXPECT_EQ(captured.firstFailure(whole,
                                    [&](Rgb p, int c, int r) {
                                        const Rgb under = curtain.at(c, r);
                                        return isCardText(p) ||
                                               (p.r == under.r && p.g == under.g && p.b == under.b);
                                    }),
              "");
}

TEST(Production, TheSameSeedDissolvesScene1ByteForByteAsTheFullRun) {
    const std::vector<Moment> outro{{1, Outro, 0.5}, {1, Outro, 3.0}, {1, Outro, last}};
    const TempFolder folder;
    ASSERT_EQ(runCapture({"--quiet", "--out", folder.path(), "--seed", std::to_string(outroSeed),
                          "--frames", frameList(schedule, outro)},
                         folder.path())
                  .exitCode,
              0);
    for (const Moment& moment : outro) {
        const std::string png = pngName(frameOf(schedule, moment));
        ASSERT_FALSE(readFile(folder.path() + png).empty()) << png;
        EXPECT_TRUE(readFile(folder.path() + png) == readFile(production() + png)) << png;
    }
}

} // namespace
