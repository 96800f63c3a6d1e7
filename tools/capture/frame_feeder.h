// Handing whole frames to ffmpeg from a thread of the renderer's own, so that the next frame is
// drawn while the last is converted to YUV 4:2:0 and ffmpeg takes it in.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "tools/capture/png_writer.h"

// A write to the pipe failed; `error` is its errno (EPIPE once ffmpeg has stopped reading).
struct FeedFailed {
    int error;
};

class FrameFeeder {
  public:
    // Starts the thread that writes frames to `fd` as YUV 4:2:0 planes, keeping at most `capacity`
    // frames waiting.
    FrameFeeder(int fd, std::size_t capacity);
    // Discards the frames still waiting and ends the thread. A write under way must be able to
    // finish or fail: the reader must still read, or be gone.
    ~FrameFeeder();
    FrameFeeder(const FrameFeeder&) = delete;
    FrameFeeder& operator=(const FrameFeeder&) = delete;

    // Queues a frame, waiting while `capacity` frames wait already. Throws FeedFailed when an
    // earlier write failed, and StopRequested when a stop signal arrives while it waits.
    void push(RgbImage frame);

    // Waits until every frame is written. Throws as push does.
    void drain();

  private:
    void feed();
    // Waits under `hold` until `ready` holds, giving way to a stop request and a failed write.
    template <typename Ready> void awaitOrThrow(std::unique_lock<std::mutex>& hold, Ready ready);

    const int fd;
    const std::size_t capacity;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<RgbImage> waiting;
    bool writing = false; // a frame is being written
    bool ending = false;
    std::optional<int> failure;
    std::thread writer;
};
