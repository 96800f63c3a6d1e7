// The rules of the particle dissolves: where a particle flies, how long it flies, how its path
// bends.
#pragma once

#include "shapes/geometry.h"

// Destination rules take a particle's pixel (x to the right, y down from the top row) and the
// window size, and give the pixel it flies to.

// A random screen edge, straight across: top, right, bottom or left, by one random draw.
Vec2 edgeTarget(int x, int y, int width, int height);
// The corner of the pixel's screen quadrant; the middle column goes left, the middle row down.
Vec2 cornerTarget(int x, int y, int width, int height);
// The left edge, same row.
Vec2 leftEdgeTarget(int x, int y, int width, int height);
// The centre of the pixel's cell in a 5 x 5 grid. The cell size comes from the size passed on
// the first use ever and is kept for the run: every outro works on the same 640 x 480 window.
Vec2 gridTarget(int x, int y, int width, int height);

// Flight-time rules: one random draw picks a time below the transition's time T.

// One of the 255 values k * T / 255, k = 0 to 254.
float randomDuration(float time);
// One of the 21 values k * T / 21, k = 0 to 20.
float coarseDuration(float time);

// The Bezier control point of a bent flight: half the way from start to end, turned by +60 or
// -60 degrees about the start, the side picked by one random draw.
Vec2 bendControlPoint(Vec2 start, Vec2 end);
