// The six revealed credit lines of Scene 4: their draw and update callbacks.
#pragma once

#include "shapes/shape.h"

// The lines in playing order: the CODE title and its handle, then MUSIC's, then GRAPHICS's.
constexpr int creditLineCount = 6;

// Update callbacks: the first call starts the line's own reveal clock, which is never reset;
// every call rewrites the line's display string (noise, then the true text, then nothing).
// The Shape's param is the scramble time.
extern const ShapeCallback creditLineUpdates[creditLineCount];

// Draw callbacks: print the display string in Times Roman 24 at (-0.55, 0.51) for a title and
// (-0.55, 0.41) for a handle. They ignore the Shape.
extern const ShapeCallback creditLineDraws[creditLineCount];
