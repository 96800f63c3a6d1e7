// The frame feeder's thread, which converts each frame to YUV and writes it, and the waits of the
// render on it.
#include "tools/capture/frame_feeder.h"

#include <cerrno>
#include <chrono>

#include <unistd.h>

#include "tools/capture/stop_signals.h"
#include "tools/capture/yuv_frame.h"

namespace {

// How often a waiting render looks for a stop request.
constexpr auto stopCheckInterval = std::chrono::milliseconds(50);

// Writes all the bytes; 0 or the errno of the write that failed.
int writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    const std::uint8_t* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(fd, next, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return errno;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

} // namespace

FrameFeeder::FrameFeeder(int pipeInput, std::size_t maxWaiting)
    : fd(pipeInput), capacity(maxWaiting), writer(&FrameFeeder::feed, this) {}

FrameFeeder::~FrameFeeder() {
    {
        const std::lock_guard<std::mutex> hold(lock);
        ending = true;
        waiting.clear();
    }
    changed.notify_all();
    writer.join();
}

void FrameFeeder::push(RgbImage frame) {
    std::unique_lock<std::mutex> hold(lock);
    awaitOrThrow(hold, [this] { return waiting.size() < capacity; });
    waiting.push_back(std::move(frame));
    changed.notify_all();
}

void FrameFeeder::drain() {
    std::unique_lock<std::mutex> hold(lock);
    awaitOrThrow(hold, [this] { return waiting.empty() && !writing; });
}

template <typename Ready>
void FrameFeeder::awaitOrThrow(std::unique_lock<std::mutex>& hold, Ready ready) {
    while (!failure && !ready()) {
        changed.wait_for(hold, stopCheckInterval);
        throwIfStopRequested();
    }
    if (failure) {
        throw FeedFailed{*failure};
    }
}

void FrameFeeder::feed() {
    leaveStopSignalsToTheRender();
    std::unique_lock<std::mutex> hold(lock);
    while (true) {
        changed.wait(hold, [this] { return ending || !waiting.empty(); });
        if (ending) {
            return;
        }
        const RgbImage frame = std::move(waiting.front());
        waiting.pop_front();
        writing = true;
        hold.unlock();
        const int error = writeAll(fd, toYuv420(frame));
        hold.lock();
        writing = false;
        if (error != 0) {
            failure = error;
        }
        changed.notify_all();
        if (failure) {
            return;
        }
    }
}
