// The SceneTable and one frame of the production's timeline.
#include "app/timeline.h"

#include <iostream>
#include <string>

#include <GL/glew.h>

#include "audio/music_channel.h"
#include "audio/soundtrack.h"
#include "clock/demo_clock.h"
#include "gfx/immediate.h"
#include "scenes/scene_builders.h"

Scene sceneTable[sceneCount];
int currentScene = 0;
std::uint32_t frameCount = 0;

namespace {

DemoClock::Ticks outroStartTicks = 0;
MusicChoice music{MusicChoice::Kind::File, soundtrackName, {}};

Soundtrack::Stream openMusic() {
    switch (music.kind) {
    case MusicChoice::Kind::File:
        return Soundtrack::openStream(music.file.c_str());
    case MusicChoice::Kind::BuiltIn:
        return Soundtrack::openBuiltIn();
    case MusicChoice::Kind::Silent:
        break;
    }
    return Soundtrack::openSilence();
}

void startProduction() {
    sceneTable[0].start();
    Soundtrack::initOutput(); // stderr is ours again once the output is open
    if (!music.notFound.empty()) {
        std::cerr << music.notFound << ": playing OMBRA's own soundtrack, synthesised as it plays"
                  << std::endl;
    }
    musicChannel = openMusic();
    Soundtrack::play(musicChannel);
}

void playFrame(Scene& scene) {
    scene.draw();
    scene.update();
    scene.activateShapes();
}

} // namespace

void setMusic(const MusicChoice& choice) {
    music = choice;
}

void buildScenes() {
    std::cout << "Please wait." << std::endl;
    for (int i = 0; i < sceneCount; ++i) {
        sceneTable[i] = sceneBuilders[i]();
        std::cout << "... ";
    }
}

bool runFrame(FrameInfo* info) {
    if (frameCount == 0) {
        startProduction();
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gfx::modelview().loadIdentity();

    Scene& scene = sceneTable[currentScene];
    const float elapsed = DemoClock::secondsSince(scene.startTicks);
    if (info) {
        info->scene = currentScene + 1;
        info->outro = !(elapsed < scene.duration);
        info->sceneTime = elapsed;
    }
    if (elapsed < scene.duration) {
        playFrame(scene);
    } else {
        if (scene.outroFrames == 0) {
            outroStartTicks = DemoClock::now();
            playFrame(scene); // the outro reads this last picture of the Scene back
        }
        if (info) {
            info->sceneTime = DemoClock::secondsSince(outroStartTicks);
        }
        const bool running = scene.outro(scene.width, scene.height);
        ++scene.outroFrames;
        if (!running) {
            ++currentScene;
            if (currentScene == sceneCount) {
                return false;
            }
            sceneTable[currentScene].start();
        }
    }
    ++frameCount;
    return true;
}
