// The thread that opens a lost audio output again, and the wait for a reopened one to sound.
#include "audio/output_reopening.h"

#include <chrono>
#include <memory>
#include <system_error>
#include <vector>

#include "audio/audio_queue.h"
#include "audio/work_beside.h"

namespace {

// Opening a device that is not there fails within milliseconds, but a sound server that is
// starting may take seconds to answer: once a second finds it soon without keeping a core busy.
constexpr auto retryInterval = std::chrono::seconds(1);

} // namespace

OutputReopening::OutputReopening(std::function<bool()> attempt) : attempt_(std::move(attempt)) {}

OutputReopening::~OutputReopening() {
    stop();
}

void OutputReopening::lost() {
    const std::lock_guard<std::mutex> hold(lock_);
    ++losses_;
    if (!thread_.joinable() && !stopping_ && threadsBeside()) {
        try {
            thread_ = std::thread(&OutputReopening::run, this);
        } catch (const std::system_error&) {
            // no thread to spare: the production plays on silently, as before
        }
    }
    wake_.notify_all();
}

void OutputReopening::stop() {
    std::thread ending;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
        ending = std::move(thread_);
    }
    wake_.notify_all();
    if (ending.joinable()) {
        ending.join();
    }
    const std::lock_guard<std::mutex> hold(lock_);
    stopping_ = false;
    recovered_ = losses_;
}

void OutputReopening::run() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!stopping_) {
        if (recovered_ == losses_) {
            wake_.wait(hold, [this] { return stopping_ || recovered_ != losses_; });
            continue;
        }
        if (wake_.wait_for(hold, retryInterval, [this] { return stopping_; })) {
            break;
        }
        const std::uint64_t losses = losses_;
        hold.unlock();
        const bool back = attempt_();
        hold.lock();
        if (back) {
            recovered_ = losses; // a loss during the attempt is tried again
        }
    }
}

void awaitSounding(std::chrono::milliseconds patience) {
    const std::unique_ptr<AudioQueue> silence = AudioQueue::create(44100, 2, 2);
    if (!silence) {
        return;
    }
    const std::vector<std::uint8_t> tenthOfASecond(17640, 0);
    silence->push(tenthOfASecond);
    silence->push(tenthOfASecond);
    silence->start();
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (silence->heardBytes() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
