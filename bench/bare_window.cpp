// The yardstick for the demo's start-up: a bare GLUT program that opens the same surface as the
// demo (game mode where the display allows it, else a 640x480 window), compiles and links the same
// four shader programs, and shows a cleared frame. bench/startup.sh compares the two.
#include <GL/glew.h>

#include <GL/freeglut.h>

#include "app/window.h"
#include "shaders/shader_program.h"
#include "shaders/shader_sources.h"

namespace {

void showClearedFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    openSurface(&argc, argv);
    const ShaderProgram programs[] = {
        ShaderProgram(radialBlobsFragmentSource),
        ShaderProgram(gaussianGlowFragmentSource),
        ShaderProgram(gradientNoiseFragmentSource),
        ShaderProgram(randomSourcesFragmentSource),
    };
    (void)programs;
    glutDisplayFunc(showClearedFrame);
    glutMainLoop();
    return 0;
}
