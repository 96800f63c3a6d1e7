// Opening a lost audio output again: a thread of its own tries at most once a second until an
// attempt succeeds, so that neither the frames nor the feeding of other sound ever wait for it.
// Where no thread runs beside the frames (the browser), a lost output stays lost.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class OutputReopening {
  public:
    // `attempt` tries once to bring the output back and says whether it did; it runs on the
    // reopening thread, with none of this object's locks held.
    explicit OutputReopening(std::function<bool()> attempt);
    ~OutputReopening();
    OutputReopening(const OutputReopening&) = delete;
    OutputReopening& operator=(const OutputReopening&) = delete;

    // The output was lost: the first attempt comes a second from now. Harmless while trying.
    void lost();

    // Stops trying and ends the thread, waiting for an attempt under way. lost() starts afresh.
    void stop();

  private:
    void run();

    std::function<bool()> attempt_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::uint64_t losses_ = 0;    // lost() calls so far
    std::uint64_t recovered_ = 0; // the losses the last successful attempt made good
    bool stopping_ = false;
    std::thread thread_;
};

// Plays silence on a freshly opened output (its context current) until it sounds, for at most
// `patience`: a device takes a while to start (a sound server's stream, say), which would
// otherwise hold the music resumed on it back behind the clock.
void awaitSounding(std::chrono::milliseconds patience);
