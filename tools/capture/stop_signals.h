// Stopping a render cleanly on Ctrl-C, SIGTERM or SIGHUP (on Windows: Ctrl+C, Ctrl+Break or the
// console closing): the signal only marks the request, and the render loop and the video's waits
// act on it, so that the unwinding leaves nothing half-made behind.
#pragma once

// Thrown where a stop request is acted on; main turns it into exit status 128 + signal.
struct StopRequested {
    int signal;
};

// Catches SIGINT, SIGTERM and SIGHUP from now on. System calls they interrupt fail with EINTR
// rather than resuming, so that a write blocked on a full pipe notices the request at once. On
// Windows a console control handler marks the request as SIGINT, SIGBREAK or SIGTERM.
void catchStopSignals();

// Keeps the stop signals away from the calling thread, leaving them to the render's.
void leaveStopSignalsToTheRender();

// How a stop request is named to the user: "SIGINT", "Ctrl+C" and so on.
const char* stopName(int signal);

// Records a stop asked for by `signal`; safe in a signal handler and on any thread.
void markStopRequested(int signal);

// The signal that asked for a stop; 0 while none has.
int requestedStop();

// Throws StopRequested once one of those signals has arrived.
void throwIfStopRequested();
