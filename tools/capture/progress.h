// A long render's progress on stderr: frames rendered of the total, frames per second and the
// time left.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/timeline.h"
#include "tools/capture/production_length.h"
#include "tools/capture/time_left.h"

class RenderProgress {
  public:
    // The render takes `phases`' frames. On a terminal the status is rewritten in place on one
    // line: at the first frame, then a few times a second. Elsewhere (a log file, a pipe) it is
    // written as a plain line at every tenth of the total and at least every 30 s.
    RenderProgress(const std::vector<ProductionPhase>& phases, FrameUse use, std::FILE* stream);
    // Ends a line left open in place, so that an error message starts on a line of its own.
    ~RenderProgress();
    RenderProgress(const RenderProgress&) = delete;
    RenderProgress& operator=(const RenderProgress&) = delete;

    // A frame of the Scene and phase `info` names is done.
    void frameRendered(const FrameInfo& info);

    // The closing line: how many frames were rendered, in how long, how fast.
    void finish();

  private:
    using Clock = std::chrono::steady_clock;

    std::string status(Clock::time_point now) const;
    void show(const std::string& text, Clock::time_point now);

    std::FILE* stream;
    bool inPlace; // the stream is a terminal
    TimeLeft timeLeft;
    std::uint64_t total;
    std::uint64_t rendered = 0;
    Clock::time_point start;
    Clock::time_point lastFrame;
    Clock::time_point lastShown;
    std::uint64_t tenthsShown = 0;
    std::size_t openLineLength = 0; // characters of the in-place line on screen, 0 when none
};
