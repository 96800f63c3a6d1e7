// The SceneTable and the frame loop that plays the Scenes one after another.
#pragma once

#include <cstdint>
#include <string>

#include "app/music_choice.h"
#include "scene/scene.h"

constexpr int sceneCount = 6;

extern Scene sceneTable[sceneCount];
extern int currentScene;
extern std::uint32_t frameCount;

// What one frame showed, for drivers that log frames.
struct FrameInfo {
    int scene = 0;          // 1 to 6
    bool outro = false;     // an outro frame rather than a playing one
    float sceneTime = 0.0f; // the Scene's elapsed seconds, or seconds since its outro began
};

// The music the first frame opens and plays; where it is the built-in soundtrack because no file
// was found, that frame says so on stderr, naming the places looked in. Without a choice, the file
// Ombra.mp3 in the working directory.
void setMusic(const MusicChoice& choice);

// Builds the six Scenes in playing order, printing "Please wait." and then "... " per Scene.
void buildScenes();

// Runs one frame: starts the production on the first call, draws and steps the current Scene or
// runs its outro, and moves to the next Scene when the outro finishes. Returns false when the
// production has ended; the caller then exits without showing this frame, otherwise it swaps.
bool runFrame(FrameInfo* info = nullptr);
