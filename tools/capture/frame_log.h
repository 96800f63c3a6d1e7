// frames.csv: one row per frame that reached the screen, written as a picture or not.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "app/timeline.h"

class FrameLog {
  public:
    // Creates `path` with its header row; throws std::runtime_error when it cannot.
    explicit FrameLog(const std::string& path);

    // frame, time (frame / fps), scene 1 to 6, phase "play" or "outro", the Scene's or the
    // outro's elapsed seconds, and the wall milliseconds the frame took to render.
    void add(std::uint64_t frame, int framesPerSecond, const FrameInfo& info, double renderMs);

    // Flushes and closes the file; throws std::runtime_error when the rows did not all arrive.
    void close();

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::string path;
    std::unique_ptr<std::FILE, Closer> file;
};
