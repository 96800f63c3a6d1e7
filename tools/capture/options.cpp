// Parsing the offline renderer's command line.
#include "tools/capture/options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

const char* const usageText =
    "Usage: ombra-capture [--out DIR] [--video FILE] [--fps N] [--frames LIST] [--seed N]\n"
    "                     [--quiet]\n"
    "\n"
    "Plays the production on a simulated clock in a 640x480 window and writes what each\n"
    "frame shows, as PNG pictures, as a video, or both. Frame n is shown at n / fps seconds.\n"
    "\n"
    "  --out DIR      write DIR/frame_NNNNNN.png (640x480 RGB) and DIR/frames.csv\n"
    "                 (frame,time,scene,phase,scene_time,render_ms); DIR is created if missing\n"
    "  --video FILE   write the frames as a video through ffmpeg: H.264 in MP4 at --fps,\n"
    "                 with Ombra.mp3 from the working directory as its AAC sound track when\n"
    "                 that file is there; an older FILE is replaced once the video is complete\n"
    "  --fps N        frames per simulated second, 1 to 1000 (default 60)\n"
    "  --frames LIST  write only these frames as PNG, e.g. 0,180,349-352; every earlier frame\n"
    "                 is still rendered, and rendering stops after the last one listed. A\n"
    "                 video holds every frame from the first listed to the last, and its\n"
    "                 sound starts at the first one's time\n"
    "  --seed N       seed the outros' random generator with N (0 to 4294967295) instead of\n"
    "                 the wall clock, so that runs repeat exactly\n"
    "  --quiet        show no progress on stderr\n"
    "  --help         show this text\n"
    "\n"
    "At least one of --out and --video is needed. Without --frames the whole production is\n"
    "rendered and every frame written. Progress (frames, frames per second, time left) goes\n"
    "to stderr, rewritten in place on a terminal and as a line now and then otherwise.\n";

namespace {

constexpr long maxFramesPerSecond = 1000;

// Whole decimal numbers only: no sign, no spaces, nothing after the digits.
unsigned long long parseWholeNumber(const std::string& flag, const std::string& text,
                                    unsigned long long largest) {
    const bool allDigits =
        !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    errno = 0;
    const unsigned long long value = allDigits ? std::strtoull(text.c_str(), nullptr, 10) : 0;
    if (!allDigits || errno == ERANGE || value > largest) {
        throw UsageError(flag + " expects a whole number up to " + std::to_string(largest) +
                         ", not \"" + text + "\"");
    }
    return value;
}

int parseFramesPerSecond(const std::string& text) {
    const auto fps = parseWholeNumber("--fps", text, maxFramesPerSecond);
    if (fps == 0) {
        throw UsageError("--fps must be at least 1");
    }
    return static_cast<int>(fps);
}

FrameList parseFrames(const std::string& text) {
    try {
        return FrameList::parse(text);
    } catch (const std::invalid_argument& error) {
        throw UsageError(std::string("--frames: ") + error.what());
    }
}

// The smallest number a frame list names, from its text once FrameList has accepted it: every
// item is then a number or a range "first-last" of digits.
FrameList::Frame firstListedFrame(const std::string& text) {
    FrameList::Frame first = FrameList::largestFrame;
    std::string::size_type begin = 0;
    while (begin <= text.size()) {
        const auto end = std::min(text.find(',', begin), text.size());
        const std::string item = text.substr(begin, end - begin);
        first = std::min<FrameList::Frame>(first, std::stoull(item.substr(0, item.find('-'))));
        begin = end + 1;
    }
    return first;
}

// "--flag value" or "--flag=value".
struct Argument {
    std::string flag;
    std::optional<std::string> attachedValue;
};

Argument splitArgument(const std::string& text) {
    const auto equals = text.find('=');
    if (text.rfind("--", 0) == 0 && equals != std::string::npos) {
        return {text.substr(0, equals), text.substr(equals + 1)};
    }
    return {text, std::nullopt};
}

} // namespace

CaptureOptions parseOptions(int argc, const char* const* argv) {
    const std::vector<std::string> args(argv, argv + argc);
    CaptureOptions options;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        }
    }

    for (std::size_t i = 0; i < args.size(); ++i) {
        const Argument argument = splitArgument(args[i]);
        const auto value = [&]() -> std::string {
            if (argument.attachedValue) {
                return *argument.attachedValue;
            }
            if (i + 1 >= args.size()) {
                throw UsageError(argument.flag + " needs a value");
            }
            return args[++i];
        };
        if (argument.flag == "--out") {
            options.outputFolder = value();
            if (options.outputFolder->empty()) {
                throw UsageError("--out needs a folder name");
            }
        } else if (argument.flag == "--video") {
            options.videoFile = value();
            if (options.videoFile->empty()) {
                throw UsageError("--video needs a file name");
            }
        } else if (argument.flag == "--quiet") {
            if (argument.attachedValue) {
                throw UsageError("--quiet takes no value");
            }
            options.quiet = true;
        } else if (argument.flag == "--fps") {
            options.framesPerSecond = parseFramesPerSecond(value());
        } else if (argument.flag == "--frames") {
            const std::string list = value();
            options.frames = parseFrames(list);
            options.firstListedFrame = firstListedFrame(list);
        } else if (argument.flag == "--seed") {
            options.outroSeed =
                static_cast<unsigned>(parseWholeNumber("--seed", value(), 0xFFFFFFFFull));
        } else {
            throw UsageError("unknown argument \"" + args[i] + "\"");
        }
    }

    if (!options.outputFolder && !options.videoFile) {
        throw UsageError("nothing to write: give --out DIR, --video FILE or both");
    }
    return options;
}
