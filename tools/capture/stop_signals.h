// Stopping a render cleanly on Ctrl-C, SIGTERM or SIGHUP: the signal only marks the request, and
// the render loop and the video's waits act on it, so that the unwinding leaves nothing
// half-made behind.
#pragma once

// Thrown where a stop request is acted on; main turns it into exit status 128 + signal.
struct StopRequested {
    int signal;
};

// Catches SIGINT, SIGTERM and SIGHUP from now on. System calls they interrupt fail with EINTR
// rather than resuming, so that a write blocked on a full pipe notices the request at once.
void catchStopSignals();

// The signal that asked for a stop; 0 while none has.
int requestedStop();

// Throws StopRequested once one of those signals has arrived.
void throwIfStopRequested();
