// The demo in the browser. The page calls main once the user starts the production (a click or a
// key, so that the browser lets it sound), or at once with `--frames LIST [--seed S]` for the
// frame-exact mode. Each of the browser's animation frames draws one frame of the production off
// screen, shows it on the 640x480 canvas (which the page scales) and feeds the music's queue;
// there are no threads.
#include <cstdint>
#include <exception>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <GL/glut.h>
#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include "app/frame_list.h"
#include "app/keyboard.h"
#include "app/music_choice.h"
#include "app/picture.h"
#include "app/soundtrack_search.h"
#include "app/timeline.h"
#include "app/window.h"
#include "audio/soundtrack.h"
#include "web/frame_exact.h"
#include "web/page_calls.h"

namespace {

// How often a timer tops the music's queue up besides the frames: a background tab gets no
// frames but keeps its timers while it sounds, so the music plays on in time there too.
constexpr double feedIntervalMilliseconds = 50;

static struct {
    bool ended = false;
    long feeding = 0;                // the feeding timer
    std::optional<FrameList> frames; // the frame-exact mode's
} state;

void feedMusic(void*) {
    Soundtrack::keepFed();
}

// Stops drawing for good and gives the sound output back; the page takes over from here.
void endProduction() {
    if (state.ended) {
        return;
    }
    state.ended = true;
    glutIdleFunc(nullptr);
    emscripten_clear_interval(state.feeding);
    std::cout << std::flush;
    Soundtrack::release();
    tellPageEnded();
}

void playFrame() {
    if (state.ended) {
        return;
    }
    usePicture();
    if (!runFrame()) {
        endProduction(); // the production's end is never shown
        return;
    }
    presentPicture(0, surfaceSize(), false);
    glutSwapBuffers();
    // With no thread beside the frames, the music's queue is topped up here and by the timer.
    Soundtrack::keepFed();
}

void playFrameExact() {
    if (!state.ended && !continueFrameExactRun(*state.frames)) {
        state.ended = true;
        glutIdleFunc(nullptr);
    }
}

struct PageArguments {
    std::optional<FrameList> frames;
    std::optional<unsigned> seed;
};

// `--frames LIST` and `--seed S`, as the page passes them; std::invalid_argument for anything
// else.
PageArguments readArguments(const std::vector<std::string>& arguments) {
    PageArguments read;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        if (i + 1 == arguments.size()) {
            throw std::invalid_argument(arguments[i] + " needs a value");
        }
        const std::string& value = arguments[i + 1];
        if (arguments[i] == "--frames") {
            read.frames = FrameList::parse(value);
        } else if (arguments[i] == "--seed") {
            std::size_t used = 0;
            const unsigned long seed = std::stoul(value, &used);
            if (used != value.size() || value[0] == '-' || seed > 4294967295UL) {
                throw std::invalid_argument("--seed " + value +
                                            ": not a number from 0 to 4294967295");
            }
            read.seed = static_cast<unsigned>(seed);
        } else {
            throw std::invalid_argument("unknown argument " + arguments[i]);
        }
    }
    return read;
}

} // namespace

extern "C" {

// A key the page passes on: Esc ends the production, `r` prints the music position.
EMSCRIPTEN_KEEPALIVE void ombra_key(int key) {
    constexpr int escape = 27;
    if (state.ended || state.frames) {
        return;
    }
    if (key == escape) {
        endProduction();
    } else if (key == 'r') {
        printMusicPosition();
        std::cout << std::flush;
    }
}

} // extern "C"

int main(int argc, char** argv) {
    try {
        const PageArguments arguments =
            readArguments(std::vector<std::string>(argv + 1, argv + argc));
        int glutArgumentCount = 1;
        openSurface(&glutArgumentCount, argv);
        createPicture();
        if (arguments.frames) {
            state.frames = arguments.frames;
            prepareFrameExactRun(arguments.seed);
        } else {
            // The page has put Ombra.mp3 in the working directory where it had one.
            setMusic(chooseMusic(false, findInstalledSoundtrack(std::nullopt)));
            state.feeding = emscripten_set_interval(feedMusic, feedIntervalMilliseconds, nullptr);
        }
        buildScenes();
        std::cout << std::flush; // "Please wait." and the builders' dots, as the desktop prints
    } catch (const std::exception& error) {
        tellPageFailure(error.what());
        return 1;
    }
    glutDisplayFunc(state.frames ? playFrameExact : playFrame);
    glutIdleFunc(glutPostRedisplay);
    glutMainLoop(); // returns at once: the browser calls the frames from here on
    return 0;
}
