// The drawing surface on the desktop: game mode, a full-screen window or an ordinary window.
#include "app/window.h"

#include "app/context_probe.h"
#include "app/display_connection.h"

#include <stdexcept>

#include <GL/glew.h>

#include <GL/freeglut.h>

namespace {

static struct { Size size; } state;

// The picture is drawn off screen at its own size, so a new window size only changes where the
// present step puts it.
void rememberSize(int width, int height) {
    state.size = {width, height};
}

bool enterGameMode() {
    glutGameModeString("640x480:32@60");
    glutEnterGameMode();
    return glutGameModeGet(GLUT_GAME_MODE_ACTIVE) != 0;
}

void openWindow(Size size) {
    glutInitWindowSize(size.width, size.height);
    glutCreateWindow("OMBRA");
}

// Covers the screen without a mode switch: the window manager makes it borderless where it
// takes the request, and without one the window simply has the screen's size at its origin.
void openFullScreenWindow() {
    glutInitWindowPosition(0, 0);
    openWindow({glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT)});
    glutFullScreen();
}

} // namespace

void openSurface(int* argc, char** argv, const SurfaceRequest& request) {
    usePatientDisplayConnection();
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
    if (request.coreProfile || coreContextOffered()) {
        glutInitContextVersion(3, 3);
        glutInitContextProfile(GLUT_CORE_PROFILE);
    }
    switch (request.kind) {
    case SurfaceKind::GameMode:
        if (!enterGameMode()) {
            openWindow({pictureWidth, pictureHeight});
        }
        break;
    case SurfaceKind::FullScreen:
        openFullScreenWindow();
        break;
    case SurfaceKind::Window:
        openWindow(request.windowSize);
        break;
    }
    state.size = {glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)};
    glutReshapeFunc(rememberSize);
    glewExperimental = GL_TRUE; // a core context lists its extensions another way
    if (glewInit() != GLEW_OK) {
        throw std::runtime_error("glewInit failed");
    }
    glGetError(); // what GLEW's look-up of the extensions left in a core context
}

Size surfaceSize() {
    return state.size;
}
