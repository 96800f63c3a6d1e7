// The core context probe against the display's real OpenGL: it finds the 3.3 core context Mesa
// gives on GLUT's own connection, and leaves the test's own context current and working. (A
// driver held to OpenGL 2.1, where it must find none, is tried by a whole render in the
// end-to-end tests: the driver reads its version cap once per process.)
#include "app/context_probe.h"
#include "gl_support.h"

namespace {

TEST(ContextProbe, FindsTheCoreContextMesaGivesAndLeavesTheTestsContextDrawing) {
    EXPECT_TRUE(coreContextOffered());
    EXPECT_TRUE(coreContextCreated());

    // The probe's own context is gone and the test's is still the one drawing.
    resetFrame();
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(pixelAt(readBackBuffer(), 320, 240), (Rgb{0, 255, 0}));
}

} // namespace
