// The drawing surface: game mode where the display allows it, else a plain window.
#include "app/window.h"

#include "app/x_display.h"

#include <stdexcept>

#include <GL/glew.h>

#include <GL/freeglut.h>

namespace {

// The outros read and draw exactly 640x480 pixels, so the picture keeps that size whatever
// size the window manager gives the window.
void keepPictureSize(int, int) {
    glViewport(0, 0, pictureWidth, pictureHeight);
}

void openPlainWindow() {
    glutInitWindowSize(pictureWidth, pictureHeight);
    glutCreateWindow("OMBRA");
    glutReshapeFunc(keepPictureSize);
}

} // namespace

void openSurface(int* argc, char** argv, bool tryGameMode) {
    usePatientDisplayConnection();
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
    bool inGameMode = false;
    if (tryGameMode) {
        glutGameModeString("640x480:32@60");
        glutEnterGameMode();
        inGameMode = glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0;
    }
    if (!inGameMode) {
        openPlainWindow();
    }
    if (glewInit() != GLEW_OK) {
        throw std::runtime_error("glewInit failed");
    }
}
