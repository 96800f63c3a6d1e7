// The offline renderer's command line.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "app/frame_list.h"
#include "app/letterbox.h"

// The largest --fps: at that rate the production is about 137,000 frames.
constexpr int maxFramesPerSecond = 1000;

struct CaptureOptions {
    bool help = false;
    bool version = false;
    int framesPerSecond = 60;
    std::optional<std::string> outputFolder; // --out: PNG frames and frames.csv
    std::optional<std::string> videoFile;    // --video: the frames as a video
    FrameList frames;                        // the frames written as PNG; every frame by default
    std::optional<unsigned> outroSeed;       // --seed; the wall clock seeds the outros without it
    bool quiet = false;                      // --quiet: no progress on stderr
    Size size{640, 480};                     // --size: the frames written, picture scaled to fit
    bool smooth = false;                     // --smooth: scale with linear filtering
    bool silent = false;                     // --silent: no music, as without a soundtrack
    std::string preset = "veryfast";         // --preset: x264's speed; by default for the size
};

// A command line that cannot be run; the message says why in one line.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name, as "--flag value" or "--flag=value". "--help"
// anywhere wins over everything else, then "--version". Throws UsageError for an unknown flag, a
// missing or bad value, a frame past the production's end at the chosen rate, a video container it
// cannot tell from the file name, a video size H.264 cannot take (odd sides), an unknown x264
// preset, or no output at all.
CaptureOptions parseOptions(int argc, const char* const* argv);

// The text printed for --help.
extern const char* const usageText;
