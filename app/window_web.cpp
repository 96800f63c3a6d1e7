// The drawing surface in the browser: the page's 640x480 canvas with a WebGL 2 context, which the
// page scales to fit; the kinds of surface the desktop offers make no difference here.
#include "app/window.h"

#include <GL/glut.h>
#include <emscripten/html5.h>

void openSurface(int* argc, char** argv, const SurfaceRequest&) {
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
    glutInitWindowSize(pictureWidth, pictureHeight);
    glutCreateWindow("OMBRA");
}

Size surfaceSize() {
    int width = 0, height = 0;
    emscripten_get_canvas_element_size("#canvas", &width, &height);
    return {width, height};
}
