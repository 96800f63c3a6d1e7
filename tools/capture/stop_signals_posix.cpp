// The stop request on POSIX systems, set from the signal handler and read by the render.
#include "tools/capture/stop_signals.h"

#include <csignal>
#include <initializer_list>

#include <pthread.h>

namespace {

volatile std::sig_atomic_t requestedBy = 0;

extern "C" void requestStop(int signal) {
    requestedBy = signal;
}

} // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

void leaveStopSignalsToTheRender() {
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&stops, signal);
    }
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
}

const char* stopName(int signal) {
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "a signal";
    }
}

int requestedStop() {
    return requestedBy;
}

void throwIfStopRequested() {
    if (requestedBy != 0) {
        throw StopRequested{requestedBy};
    }
}
