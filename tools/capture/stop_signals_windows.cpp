// The stop request on Windows, set by a console control handler and read by the render.
#include "tools/capture/stop_signals.h"

#include <atomic>
#include <csignal>

#include <windows.h>

namespace {

std::atomic<int> requestedBy{0};

// Runs on a thread of its own that the system starts; the render acts on the request.
BOOL WINAPI requestStop(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
        requestedBy = SIGINT;
        return TRUE;
    case CTRL_BREAK_EVENT:
        requestedBy = SIGBREAK;
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        requestedBy = SIGTERM;
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void catchStopSignals() {
    SetConsoleCtrlHandler(requestStop, TRUE);
}

void leaveStopSignalsToTheRender() {} // console events never interrupt a thread's calls

const char* stopName(int signal) {
    switch (signal) {
    case SIGINT:
        return "Ctrl+C";
    case SIGBREAK:
        return "Ctrl+Break";
    case SIGTERM:
        return "the console closing";
    default:
        return "a console event";
    }
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
