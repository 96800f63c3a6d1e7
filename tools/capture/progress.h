// A long render's progress on stderr: frames rendered of the total, frames per second and the
// time left.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class RenderProgress {
  public:
    // `total` frames are expected; an `estimated` total is shown as "about". On a terminal the
    // status is rewritten in place on one line; elsewhere (a log file, a pipe) it is written as
    // a plain line at every tenth of the total and at least every 30 s.
    RenderProgress(std::uint64_t total, bool estimated, std::FILE* stream);
    // Ends a line left open in place, so that an error message starts on a line of its own.
    ~RenderProgress();
    RenderProgress(const RenderProgress&) = delete;
    RenderProgress& operator=(const RenderProgress&) = delete;

    void frameRendered();

    // The closing line: how many frames were rendered, in how long, how fast.
    void finish();

  private:
    using Clock = std::chrono::steady_clock;

    std::string status(Clock::time_point now) const;
    void show(const std::string& text, Clock::time_point now);

    std::FILE* stream;
    bool inPlace; // the stream is a terminal
    std::uint64_t total;
    bool estimated;
    std::uint64_t rendered = 0;
    Clock::time_point start;
    Clock::time_point lastShown;
    std::uint64_t tenthsShown = 0;
    std::size_t openLineLength = 0; // characters of the in-place line on screen, 0 when none
};
