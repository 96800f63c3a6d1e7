// Reading the offline renderer's command line with CLI11; the frame list has its own parser.
#include "tools/capture/options.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <CLI/CLI.hpp>

#include "app/options.h"
#include "tools/capture/production_length.h"
#include "tools/capture/video_encoder.h"

const char* const usageText =
    "Usage: ombra-capture [--out DIR] [--video FILE] [--size WxH] [--smooth] [--fps N]\n"
    "                     [--frames LIST] [--seed N] [--preset NAME] [--silent]\n"
    "                     [--quiet]\n"
    "\n"
    "Plays the production on a simulated clock and writes what each frame shows, as PNG\n"
    "pictures, as a video, or both. Frame n is shown at n / fps seconds.\n"
    "It needs an X display: without one, run it as xvfb-run -a ombra-capture ...\n"
    "\n"
    "  --out DIR      write DIR/frame_NNNNNN.png (RGB, --size) and DIR/frames.csv\n"
    "                 (frame,time,scene,phase,scene_time,render_ms); DIR is created if missing,\n"
    "                 and one render at a time may write into it\n"
    "  --video FILE   write the frames as a video through ffmpeg: H.264 at --fps in the\n"
    "                 container FILE's name ends with (.mp4, .mkv or .mov), with Ombra.mp3\n"
    "                 from the working directory as its AAC sound track when that file is\n"
    "                 there, else OMBRA's own soundtrack, synthesised; an older FILE is\n"
    "                 replaced once the video is complete\n"
    "  --size WxH     the frames' size (default 640x480, the production's own): the 640x480\n"
    "                 picture scaled to the largest size that fits with its shape kept,\n"
    "                 centred, black bars elsewhere; 1920x1080 gives it at 1440x1080. A video\n"
    "                 needs an even width and height\n"
    "  --smooth       scale with linear filtering instead of keeping the pixels crisp\n"
    "  --fps N        frames per simulated second, 1 to 1000 (default 60)\n"
    "  --frames LIST  write only these frames as PNG, e.g. 0,180,349-352; every earlier frame\n"
    "                 is still rendered, and rendering stops after the last one listed, which\n"
    "                 must be one the production shows (a frame past its end is refused). A\n"
    "                 video holds every frame from the first listed to the last, and its\n"
    "                 sound starts at the first one's time\n"
    "  --seed N       seed the outros' random generator with N (0 to 4294967295) instead of\n"
    "                 the wall clock, so that runs repeat exactly\n"
    "  --preset NAME  x264's speed for the video at the same quality: ultrafast, superfast,\n"
    "                 veryfast, faster, fast, medium, slow, slower or veryslow; the slower,\n"
    "                 the smaller the file. By default veryfast, and superfast for frames\n"
    "                 larger than 1280x960, which then still encode faster than they play\n"
    "  --silent       no music: a video without sound\n"
    "  --quiet        show no progress on stderr\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "\n"
    "At least one of --out and --video is needed. Without --frames the whole production is\n"
    "rendered and every frame written. Progress (frames, frames per second, time left) goes\n"
    "to stderr, rewritten in place on a terminal and as a line now and then otherwise.\n"
    "Ctrl-C (or SIGTERM, SIGHUP) stops a render and removes its unfinished video.\n";

namespace {

constexpr std::uint64_t maxSeed = 0xFFFF'FFFF;

// CLI11 says what is wrong in words of its own; a name's absence is ours to word.
std::string notEmpty(const std::string& what, const std::string& value) {
    return value.empty() ? "needs " + what : std::string();
}

FrameList parseFrames(const std::string& text, int framesPerSecond) {
    FrameList frames;
    try {
        frames = FrameList::parse(text);
    } catch (const std::invalid_argument& error) {
        throw UsageError(std::string("--frames: ") + error.what());
    }
    const std::uint64_t lastShown = productionFrames(framesPerSecond) - 1;
    if (frames.last() && *frames.last() > lastShown) {
        throw UsageError("--frames: the production's last frame at " +
                         std::to_string(framesPerSecond) + " fps is " + std::to_string(lastShown) +
                         ", so frame " + std::to_string(*frames.last()) + " never shows");
    }
    return frames;
}

Size parseFrameSize(const std::string& text) {
    Size size;
    if (!parseSize(text, size)) {
        throw UsageError("--size: \"" + text + "\" is not a size such as 1920x1080");
    }
    return size;
}

void checkVideoSize(Size size) {
    if (size.width % 2 != 0 || size.height % 2 != 0) {
        throw UsageError("--size: a video needs an even width and height, which " +
                         std::to_string(size.width) + "x" + std::to_string(size.height) +
                         " has not (H.264 stores colour for two by two pixels)");
    }
}

// On two cores x264's "veryfast" keeps up with the production up to 1280x960; a 1080p frame
// takes it about as long as the frame plays, "superfast" about four fifths of that.
std::string defaultPreset(Size size) {
    constexpr long largestVeryFastFrame = 1280 * 960;
    return long(size.width) * size.height > largestVeryFastFrame ? "superfast" : "veryfast";
}

void checkPreset(const std::string& preset) {
    static const std::vector<std::string> presets{"ultrafast", "superfast", "veryfast",
                                                  "faster",    "fast",      "medium",
                                                  "slow",      "slower",    "veryslow"};
    if (std::find(presets.begin(), presets.end(), preset) == presets.end()) {
        throw UsageError("--preset: \"" + preset + "\" is not one of x264's presets (ultrafast " +
                         "... veryslow)");
    }
}

void checkVideoName(const std::string& file) {
    if (!videoContainer(file)) {
        throw UsageError("--video: cannot tell the container from \"" + file +
                         "\": name it .mp4, .mkv or .mov");
    }
}

} // namespace

CaptureOptions parseOptions(int argc, const char* const* argv) {
    CaptureOptions options;
    const std::vector<std::string> args(argv, argv + argc);
    if (std::find_if(args.begin(), args.end(), [](const std::string& arg) {
            return arg == "--help" || arg == "-h";
        }) != args.end()) {
        options.help = true;
        return options;
    }
    if (std::find(args.begin(), args.end(), "--version") != args.end()) {
        options.version = true;
        return options;
    }

    CLI::App app("ombra-capture");
    app.set_help_flag();
    std::string frameText, outFolder, videoFile;
    std::uint64_t seed = 0;
    CLI::Option* out = app.add_option("--out", outFolder)->check([](const std::string& value) {
        return notEmpty("a folder name", value);
    });
    CLI::Option* video = app.add_option("--video", videoFile)->check([](const std::string& value) {
        return notEmpty("a file name", value);
    });
    app.add_option("--fps", options.framesPerSecond)->check(CLI::Range(1, maxFramesPerSecond));
    CLI::Option* frames = app.add_option("--frames", frameText);
    CLI::Option* seedOption =
        app.add_option("--seed", seed)->check(CLI::Range(std::uint64_t{0}, maxSeed));
    app.add_flag("--quiet", options.quiet);
    std::string sizeText;
    CLI::Option* sizeOption = app.add_option("--size", sizeText);
    app.add_flag("--smooth", options.smooth);
    app.add_flag("--silent", options.silent);
    CLI::Option* presetOption = app.add_option("--preset", options.preset);
    // CLI11 would read "--quiet=no" as false; a flag here takes no value at all.
    for (const std::string& arg : args) {
        for (const std::string flag : {"--quiet", "--smooth", "--silent"}) {
            if (arg.rfind(flag + "=", 0) == 0) {
                throw UsageError(flag + " takes no value");
            }
        }
    }

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }

    if (out->count() > 0) {
        options.outputFolder = outFolder;
    }
    if (sizeOption->count() > 0) {
        options.size = parseFrameSize(sizeText);
    }
    if (presetOption->count() > 0) {
        checkPreset(options.preset);
    } else {
        options.preset = defaultPreset(options.size);
    }
    if (video->count() > 0) {
        checkVideoName(videoFile);
        checkVideoSize(options.size);
        options.videoFile = videoFile;
    }
    if (frames->count() > 0) {
        options.frames = parseFrames(frameText, options.framesPerSecond);
    }
    if (seedOption->count() > 0) {
        options.outroSeed = static_cast<unsigned>(seed);
    }
    if (!options.outputFolder && !options.videoFile) {
        throw UsageError("nothing to write: give --out DIR, --video FILE or both");
    }
    return options;
}
