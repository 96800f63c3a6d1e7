// Parsing the demo's command line with CLI11, GLUT's options set aside.
#include "app/options.h"

#include <algorithm>
#include <array>
#include <regex>

#include <CLI/CLI.hpp>

namespace {

constexpr Size defaultWindowSize{1280, 960};
constexpr int largestSide = 16384;

// The options glutInit takes, and whether each is followed by a value.
struct GlutOption {
    const char* name;
    bool takesValue;
};
constexpr std::array<GlutOption, 7> glutOptions{{{"-display", true},
                                                 {"-geometry", true},
                                                 {"-direct", false},
                                                 {"-indirect", false},
                                                 {"-iconic", false},
                                                 {"-gldebug", false},
                                                 {"-sync", false}}};

const GlutOption* findGlutOption(const std::string& argument) {
    const auto found = std::find_if(glutOptions.begin(), glutOptions.end(),
                                    [&](const GlutOption& o) { return argument == o.name; });
    return found == glutOptions.end() ? nullptr : found;
}

std::string sizeText(Size size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

} // namespace

bool parseSize(const std::string& text, Size& size) {
    static const std::regex shape("([1-9][0-9]{0,4})x([1-9][0-9]{0,4})");
    std::smatch sides;
    if (!std::regex_match(text, sides, shape)) {
        return false;
    }
    const int width = std::stoi(sides[1]);
    const int height = std::stoi(sides[2]);
    if (width > largestSide || height > largestSide) {
        return false;
    }
    size = {width, height};
    return true;
}

DemoCommandLine parseDemoCommandLine(const std::vector<std::string>& arguments) {
    DemoCommandLine line;
    std::vector<std::string> ours;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const GlutOption* glut = findGlutOption(arguments[i]);
        if (!glut) {
            ours.push_back(arguments[i]);
            continue;
        }
        line.glutOptions.push_back(arguments[i]);
        if (glut->takesValue) {
            if (i + 1 == arguments.size()) {
                throw DemoUsageError(arguments[i] + " needs a value");
            }
            line.glutOptions.push_back(arguments[++i]);
        }
    }

    CLI::App app("Plays OMBRA, a real-time audiovisual production, to its soundtrack.", "ombra");
    app.set_help_flag("--help", "Show this text and exit");
    bool showVersion = false, fullScreen = false;
    std::string windowSize;
    app.add_flag("--version", showVersion, "Show the version and exit");
    CLI::Option* fullScreenFlag = app.add_flag(
        "--fullscreen", fullScreen,
        "A borderless full-screen window at the display's own resolution, no mode switch");
    CLI::Option* windowOption =
        app.add_option("--window", windowSize,
                       "A resizable window, " + sizeText(defaultWindowSize) +
                           " unless WxH is given")
            ->expected(0, 1)
            ->type_name("[WxH]");
    fullScreenFlag->excludes(windowOption);
    CLI::Option* soundtrackOption =
        app.add_option("--soundtrack", line.options.soundtrack,
                       "The music file; without it Ombra.mp3 from the working directory, else from "
                       "beside the program, else from the data folders, else OMBRA's own music")
            ->type_name("FILE");
    app.add_flag("--silent", line.options.silent, "Play without music")->excludes(soundtrackOption);
    app.add_flag("--smooth", line.options.smooth,
                 "Scale the picture with linear filtering instead of keeping its pixels crisp");
    app.add_flag("--stats", line.options.stats,
                 "At the end, and at Esc, print on stderr how many frames were shown and how "
                 "evenly, and how far the music drifted");
    app.footer("Without options: 640x480 full screen where the display allows the mode switch, "
               "else a 640x480 window. GLUT's own options, such as -display NAME, are passed "
               "on. Esc quits; r prints the music position.");

    std::vector<std::string> reversed(ours.rbegin(), ours.rend()); // CLI11 reads from the back
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        line.action = DemoCommandLine::Action::ShowHelp;
        line.text = app.help();
        return line;
    } catch (const CLI::ParseError& error) {
        throw DemoUsageError(error.what());
    }
    if (showVersion) {
        line.action = DemoCommandLine::Action::ShowVersion;
        line.text = "ombra " OMBRA_VERSION "\n";
        return line;
    }
    if (fullScreen) {
        line.options.surface.kind = SurfaceKind::FullScreen;
    } else if (windowOption->count() > 0) {
        line.options.surface.kind = SurfaceKind::Window;
        line.options.surface.windowSize = defaultWindowSize;
        if (!windowSize.empty() && !parseSize(windowSize, line.options.surface.windowSize)) {
            throw DemoUsageError("--window: \"" + windowSize +
                                 "\" is not a size such as 1000x600 (1 to " +
                                 std::to_string(largestSide) + " pixels a side)");
        }
    }
    return line;
}
