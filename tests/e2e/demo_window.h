// The demo's window on an X display, found by its title, its pixels, and keys pressed in it.
#pragma once

#include <string>
#include <vector>

#include <X11/Xlib.h>

#include "child_process.h"

// The "OMBRA" window once it is mapped on `display` ("DISPLAY=:N"), or 0.
Window findDemoWindow(const std::string& display);

struct Shot {
    int width = 0, height = 0;
    std::vector<unsigned long> pixels; // 0xRRGGBB, row 0 at the top
    unsigned long at(int column, int rowFromBottom) const {
        return pixels[static_cast<std::size_t>(height - 1 - rowFromBottom) * width + column];
    }
};

// Empty while the window is changing under the request.
Shot screenshot(Display* x, Window window);

// Presses `key` in the demo's window on `display` ("DISPLAY=:N").
void pressKey(const std::string& display, const char* key);

// Presses `r` and reads the position it prints, in thousands of bytes; -1 when none comes.
double printedPosition(const ChildProcess& demo, const std::string& display);
