// Runs the OpenGL tests in one hidden 640x480 GLUT window on the X display (Xvfb in CI).
#include <gtest/gtest.h>

#include "app/window.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!testing::GTEST_FLAG(list_tests)) {
        openSurface(&argc, argv, /*tryGameMode=*/false);
    }
    return RUN_ALL_TESTS();
}
