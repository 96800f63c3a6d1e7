// The length of the whole production in frames, known only once it has been played, estimated
// beforehand for the renderer's progress.
#pragma once

#include <cstdint>

// Each Scene plays for its play time (read from the built SceneTable, so call it after the
// Scenes are built) and then for its outro's own running time; a frame is counted wherever a
// phase has begun. Within a few frames of the truth at any frame rate.
std::uint64_t estimatedProductionFrames(int framesPerSecond);
