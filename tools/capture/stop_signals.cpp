// The stop request itself, shared by both platforms' handlers and read by the render.
#include "tools/capture/stop_signals.h"

#include <atomic>

namespace {

// Lock-free, so that a signal handler may set it.
std::atomic<int> requestedBy{0};
static_assert(std::atomic<int>::is_always_lock_free);

} // namespace

void markStopRequested(int signal) {
    requestedBy = signal;
}

int requestedStop() {
    return requestedBy;
}

void throwIfStopRequested() {
    const int signal = requestedBy;
    if (signal != 0) {
        throw StopRequested{signal};
    }
}
