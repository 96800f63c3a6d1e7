// The demo: reads its options, opens its surface, builds the six Scenes and plays them under GLUT,
// drawing each frame off screen and presenting it on the surface, no more often than the display
// shows frames.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <vector>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include "app/frame_pacer.h"
#include "app/frame_stats.h"
#include "app/keyboard.h"
#include "app/music_choice.h"
#include "app/options.h"
#include "app/picture.h"
#include "app/soundtrack_search.h"
#include "app/swap_pacing.h"
#include "app/timeline.h"
#include "app/window.h"
#include "audio/music_channel.h"
#include "audio/soundtrack.h"

namespace {

using Clock = std::chrono::steady_clock;

static struct {
    bool smooth = false;
    bool stats = false;
    std::optional<FramePacer> pacer;
    FrameStats frames;
    Clock::time_point firstFrame;
} state;

// Starts pacing once the window's context is current: vsync where the driver offers it, and the
// pacer's wait for a swap that does not wait itself.
void startPacing() {
    requestVsync();
    state.pacer.emplace(displayRefreshRate());
}

void printStats() {
    if (state.stats) {
        const double periods = std::chrono::duration<double>(state.pacer->period()).count();
        std::cerr << state.frames.summary(1.0 / periods) << std::flush;
    }
}

// After each swap: the figures for --stats, then the wait for the display's next refresh.
void afterSwap() {
    const Clock::time_point swapped = Clock::now();
    if (state.stats) {
        state.frames.frameShown(std::chrono::duration<double>(swapped - state.firstFrame).count());
        if (const std::optional<double> drift = Soundtrack::driftFromTimePlayed(musicChannel)) {
            state.frames.musicDrift(*drift);
        }
    }
    const Clock::time_point next = state.pacer->nextFrameAt(swapped);
    if (next > swapped) {
        sleepUntil(next);
    }
}

// A window of the picture's own size is drawn on directly: the present step would copy the
// picture unchanged, and on a software renderer its first copy costs some 50 ms of start-up
// preparing the copy's shaders. Drawing on the window gives the same pixels, since the picture
// keeps its rows as the window does. (An outro's first frame shows what the frame before drew: a
// resize to or from that size at exactly that frame shows the other buffer's older picture once.)
void display() {
    if (frameCount == 0) {
        state.firstFrame = Clock::now();
    }
    const Size window = surfaceSize();
    const bool onWindow = window.width == pictureSize.width && window.height == pictureSize.height;
    onWindow ? useWindowAsPicture() : usePicture();
    if (!runFrame()) {
        printStats();
        std::exit(0); // the production's end is never shown and never frees the audio
    }
    if (!onWindow) {
        presentPicture(0, window, state.smooth);
    }
    glutSwapBuffers();
    afterSwap();
}

void keyPressed(unsigned char key, int x, int y) {
    constexpr unsigned char escape = 27;
    if (key == escape) {
        printStats();
    }
    onKey(key, x, y);
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
    state.stats = line.options.stats;
    startPacing();
    setMusic(chooseMusic(line.options.silent, findInstalledSoundtrack(line.options.soundtrack)));
    createPicture();
    glutSetCursor(GLUT_CURSOR_NONE);
    glutDisplayFunc(display);
    glutKeyboardFunc(keyPressed);
    glutIdleFunc(glutPostRedisplay);
    buildScenes();
    glutMainLoop();
    return 0;
}
