// Runs the OpenGL tests in one hidden 640x480 GLUT window on the X display (Xvfb in CI), with an
// OpenGL 3.3 core context: a fixed-function call left anywhere in the drawing code draws nothing
// there, and the pixels the tests check tell.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "app/window.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!testing::GTEST_FLAG(list_tests)) {
        // A busy server may refuse connections for seconds and GLUT gives up at once: wait for one.
        for (int tries = 0; tries < 30; ++tries) { // each XOpenDisplay tries for 2 s
            if (Display* probe = XOpenDisplay(nullptr)) {
                XCloseDisplay(probe);
                break;
            }
        }
        openSurface(&argc, argv, {SurfaceKind::Window, {pictureWidth, pictureHeight}, true});
    }
    return RUN_ALL_TESTS();
}
