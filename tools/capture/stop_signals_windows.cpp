// Stop requests on Windows: the console control handler and the names of its events.
#include "tools/capture/stop_signals.h"

#include <csignal>

#include <windows.h>

namespace {

// Runs on a thread of its own that the system starts; the render acts on the request.
BOOL WINAPI requestStop(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
        markStopRequested(SIGINT);
        return TRUE;
    case CTRL_BREAK_EVENT:
        markStopRequested(SIGBREAK);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        markStopRequested(SIGTERM);
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
