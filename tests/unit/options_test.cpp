// The demo's command line and where its picture goes on screens of other sizes.
#include <gtest/gtest.h>

#include "app/music_choice.h"
#include "app/options.h"

namespace {

TEST(Letterbox, FitsThePictureWithItsShapeKeptCentredBetweenBars) {
    const struct {
        Size screen;
        PixelRect shown;
    } cases[] = {
        {{640, 480}, {0, 0, 640, 480}},   {{1920, 1080}, {240, 0, 1440, 1080}},
        {{1280, 960}, {0, 0, 1280, 960}}, {{1000, 600}, {100, 0, 800, 600}},
        {{800, 800}, {0, 100, 800, 600}}, {{1366, 768}, {171, 0, 1024, 768}},
        {{641, 481}, {0, 0, 641, 480}},   {{643, 480}, {1, 0, 640, 480}},
        {{640, 483}, {0, 1, 640, 480}},
    };
    for (const auto& [screen, shown] : cases) {
        const PixelRect fit = letterbox(screen, {640, 480});
        EXPECT_EQ((std::array{fit.x, fit.y, fit.width, fit.height}),
                  (std::array{shown.x, shown.y, shown.width, shown.height}))
            << screen.width << "x" << screen.height;
    }
}

constexpr auto parse = parseDemoCommandLine;

TEST(DemoCommandLine, ChoosesTheSurfaceAndPassesGlutItsOwnOptions) {
    const DemoOptions plain = parse({}).options;
    EXPECT_EQ(plain.surface.kind, SurfaceKind::GameMode);
    EXPECT_FALSE(plain.soundtrack) << "searched for";
    EXPECT_FALSE(plain.smooth || plain.stats || plain.silent);
    EXPECT_TRUE(parse({"--silent"}).options.silent);

    EXPECT_EQ(parse({"--fullscreen"}).options.surface.kind, SurfaceKind::FullScreen);
    for (const auto& [arguments, width, height] :
         {std::tuple{std::vector<std::string>{"--window"}, 1280, 960},
          std::tuple{std::vector<std::string>{"--window", "1000x600"}, 1000, 600},
          std::tuple{std::vector<std::string>{"--window=16384x1"}, 16384, 1},
          std::tuple{std::vector<std::string>{"--window=1x16384"}, 1, 16384}}) {
        const SurfaceRequest surface = parse(arguments).options.surface;
        EXPECT_EQ(surface.kind, SurfaceKind::Window);
        EXPECT_EQ(surface.windowSize.width, width);
        EXPECT_EQ(surface.windowSize.height, height);
    }

    const DemoCommandLine line = parse(
        {"-display", ":7", "--smooth", "-sync", "--soundtrack", "x.mp3", "-iconic", "--stats"});
    EXPECT_EQ(line.glutOptions, (std::vector<std::string>{"-display", ":7", "-sync", "-iconic"}));
    EXPECT_TRUE(line.options.smooth && line.options.stats);
    EXPECT_EQ(line.options.soundtrack, "x.mp3");
    EXPECT_EQ(line.action, DemoCommandLine::Action::Play);
}

// --silent wins; then the file the search gave (a named one even when missing: it then fails in
// its own words); only where the search found none does the built-in track play, saying where
// it looked.
TEST(MusicChoice, SilenceThenTheFileTheSearchGaveThenTheBuiltInSoundtrack) {
    using Kind = MusicChoice::Kind;
    const SoundtrackSearch given{"mine.mp3", {}}, none{std::nullopt, {"", "/opt/ombra"}};
    EXPECT_EQ(chooseMusic(true, given).kind, Kind::Silent);
    EXPECT_EQ(chooseMusic(true, none).kind, Kind::Silent);
    EXPECT_EQ(chooseMusic(true, none).notFound, "");
    const MusicChoice file = chooseMusic(false, given);
    EXPECT_EQ(file.kind, Kind::File);
    EXPECT_EQ(file.file, "mine.mp3");
    EXPECT_EQ(file.notFound, "");
    const MusicChoice builtIn = chooseMusic(false, none);
    EXPECT_EQ(builtIn.kind, Kind::BuiltIn);
    EXPECT_EQ(builtIn.notFound, notFoundText(none));
}

TEST(DemoCommandLine, AnswersHelpAndVersionAndRefusesWhatItDoesNotKnow) {
    EXPECT_EQ(parse({"--window", "--help"}).action, DemoCommandLine::Action::ShowHelp);
    EXPECT_NE(parse({"--help"}).text.find("--fullscreen"), std::string::npos);
    EXPECT_EQ(parse({"--version"}).text, "ombra " OMBRA_VERSION "\n");
    const std::vector<std::string> refused[] = {
        {"--window", "0x480"},
        {"--window", "16385x480"},
        {"--window", "640x16385"},
        {"--window", "640 x480"},
        {"--fullscreen", "--window"},
        {"--smooth", "--bogus"},
        {"--stats", "-geometry"},
        {"--smooth", "--soundtrack"},
        {"--soundtrack", "x.mp3", "--silent"},
    };
    for (const std::vector<std::string>& arguments : refused) { // the message names the last
        try {
            parse(arguments);
            ADD_FAILURE() << arguments.back() << " was taken";
        } catch (const DemoUsageError& error) {
            EXPECT_PRED_FORMAT2(testing::IsSubstring, arguments.back(), error.what());
        }
    }
}

} // namespace
