// The renderer's X display: GLUT ends the program with a bare "failed to open display" when there
// is none, and Xlib ends it when the server goes; both get a word of ours first.
#include "tools/capture/display_watch.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include <X11/Xlib.h>

namespace {

void (*whenLost)() = nullptr;

int onIoError(Display*) {
    whenLost();
    std::_Exit(1); // not reached: `whenLost` ends the process
}

} // namespace

DisplayHold::DisplayHold(const char* programName) : connection(XOpenDisplay(nullptr)) {
    if (!connection) {
        const char* name = std::getenv("DISPLAY");
        throw std::runtime_error(
            (name ? "cannot open the X display \"" + std::string(name) + "\""
                  : std::string("no X display to draw on (DISPLAY is not set)")) +
            "; without a display of your own, run it on a virtual one: xvfb-run -a " + programName +
            " ...");
    }
}

DisplayHold::~DisplayHold() {
    XCloseDisplay(static_cast<Display*>(connection));
}

void whenDisplayLost(void (*lost)()) {
    whenLost = lost;
    XSetIOErrorHandler(onIoError);
}
