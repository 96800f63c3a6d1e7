// The production played on a simulated clock, frame by frame, as the offline renderer plays it and
// the browser page's frame-exact mode plays it again: the same clock, seed and silent music, so
// that both draw the same pictures.
#pragma once

#include <cstdint>
#include <optional>

#include "app/music_choice.h"
#include "app/timeline.h"

// Without a soundtrack file the beats fall where 44.1 kHz 16-bit stereo would put them.
constexpr std::uint32_t assumedSoundtrackByteRate = 176'400;

// The simulated clock at frame 0, the outros' seed (the wall clock's without one) and the music
// playing silently: call it before the Scenes are built. The first frame says nothing of the
// music: a caller that wants a word on it says it itself.
void prepareSimulatedRun(int framesPerSecond, std::optional<unsigned> outroSeed,
                         const MusicChoice& music);

// Draws frame `frame` into the off-screen picture at that frame's time on the simulated clock.
// Frames must come one after another from 0 on. False once the production has ended.
bool runSimulatedFrame(std::uint64_t frame, int framesPerSecond, FrameInfo* info = nullptr);
