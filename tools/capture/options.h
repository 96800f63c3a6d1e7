// The offline renderer's command line.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "tools/capture/frame_list.h"

struct CaptureOptions {
    bool help = false;
    int framesPerSecond = 60;
    std::optional<std::string> outputFolder; // --out: PNG frames and frames.csv
    std::optional<std::string> videoFile;    // --video: the frames as an MP4 video
    FrameList frames;                        // the frames written as PNG; every frame by default
    FrameList::Frame firstListedFrame = 0;   // where a video starts; 0 without --frames
    std::optional<unsigned> outroSeed;       // --seed; the wall clock seeds the outros without it
    bool quiet = false;                      // --quiet: no progress on stderr
};

// A command line that cannot be run; the message says why.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program name. "--help" anywhere wins over everything else.
// Throws UsageError for an unknown flag, a missing or bad value, or no output at all.
CaptureOptions parseOptions(int argc, const char* const* argv);

// The text printed for --help.
extern const char* const usageText;
