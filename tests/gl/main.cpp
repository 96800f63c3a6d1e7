// Runs the OpenGL tests in one hidden 640x480 GLUT window on the X display (Xvfb in CI).
#include <gtest/gtest.h>

#include "app/window.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const bool listingOnly = testing::GTEST_FLAG(list_tests);
    if (!listingOnly) {
        openSurface(&argc, argv, {SurfaceKind::Window, {pictureWidth, pictureHeight}});
    }
    return RUN_ALL_TESTS();
}
