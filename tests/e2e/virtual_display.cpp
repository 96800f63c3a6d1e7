// Starting and stopping a private Xvfb server for one test.
#include "virtual_display.h"

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

// Xvfb picks a free display number itself and writes it to its stdout (-displayfd 1) once it
// accepts connections.
VirtualDisplay::VirtualDisplay()
    : server({"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
             folder.path()) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string written = server.outSoFar();
        if (!written.empty() && written.back() == '\n') {
            displayName = ":" + written.substr(0, written.size() - 1);
            return;
        }
        std::this_thread::sleep_for(20ms);
    }
}

VirtualDisplay::~VirtualDisplay() {
    server.stop();
}
