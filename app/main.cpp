// The demo: reads its options, opens its surface, builds the six Scenes and plays them under GLUT,
// drawing each frame off screen and presenting it on the surface.
#include <cstdlib>
#include <iostream>
#include <vector>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include "app/keyboard.h"
#include "app/options.h"
#include "app/picture.h"
#include "app/timeline.h"
#include "app/window.h"
#include "audio/soundtrack.h"

namespace {

static struct { bool smooth = false; } state;

// A window of the picture's own size is drawn on directly: the present step would copy the
// picture unchanged, and on a software renderer its first copy costs some 50 ms of start-up
// preparing the copy's shaders. Drawing on the window gives the same pixels, since the picture
// keeps its rows as the window does. (An outro's first frame shows what the frame before drew: a
// resize to or from that size at exactly that frame shows the other buffer's older picture once.)
void display() {
    const Size window = surfaceSize();
    const bool onWindow = window.width == pictureSize.width && window.height == pictureSize.height;
    onWindow ? useWindowAsPicture() : usePicture();
    if (!runFrame()) {
        std::exit(0); // the production's end is never shown and never frees the audio
    }
    if (!onWindow) {
        presentPicture(0, window, state.smooth);
    }
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    DemoCommandLine line;
    try {
        line = parseDemoCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const DemoUsageError& error) {
        std::cerr << "ombra: " << error.what() << "; try 'ombra --help'\n";
        return 2;
    }
    if (line.action != DemoCommandLine::Action::Play) {
        std::cout << line.text;
        return 0;
    }

    // GLUT gets the program name and its own options.
    std::vector<char*> glutArguments{argv[0]};
    for (std::string& option : line.glutOptions) {
        glutArguments.push_back(option.data());
    }
    int glutArgumentCount = static_cast<int>(glutArguments.size());
    glutArguments.push_back(nullptr);
    openSurface(&glutArgumentCount, glutArguments.data(), line.options.surface);
    Soundtrack::startOpeningOutput(); // ready by the first frame, which starts the music

    state.smooth = line.options.smooth;
    setSoundtrackFile(line.options.soundtrack);
    createPicture();
    glutSetCursor(GLUT_CURSOR_NONE);
    glutDisplayFunc(display);
    glutKeyboardFunc(onKey);
    glutIdleFunc(glutPostRedisplay);
    buildScenes();
    glutMainLoop();
    return 0;
}
