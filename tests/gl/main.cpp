// Runs the OpenGL tests in one hidden 640x480 GLUT window on the X display (Xvfb in CI).
#include <chrono>
#include <cstdio>
#include <thread>

#include <gtest/gtest.h>

// Xlib defines macros such as None and Bool, so it comes after the test framework.
#include <X11/Xlib.h>

#include "app/window.h"

namespace {

// A busy virtual display can turn a connection away for a moment; GLUT would end the process on
// the first refusal, so wait until the display answers (a few seconds at most).
void waitForDisplay() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) {
            XCloseDisplay(display);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::fprintf(stderr, "the X display does not answer\n");
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const bool listingOnly = testing::GTEST_FLAG(list_tests);
    if (!listingOnly) {
        waitForDisplay();
        openSurface(&argc, argv, /*tryGameMode=*/false);
    }
    return RUN_ALL_TESTS();
}
