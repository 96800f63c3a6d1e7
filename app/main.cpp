// The demo: opens the 640x480 surface, builds the six Scenes and plays them under GLUT.
#include <cstdlib>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include "app/keyboard.h"
#include "app/timeline.h"
#include "app/window.h"

namespace {

void display() {
    if (!runFrame()) {
        std::exit(0); // the production's end is never shown and never frees the audio
    }
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    openSurface(&argc, argv);
    glutSetCursor(GLUT_CURSOR_NONE);
    glutDisplayFunc(display);
    glutKeyboardFunc(onKey);
    glutIdleFunc(glutPostRedisplay);
    buildScenes();
    glutMainLoop();
    return 0;
}
