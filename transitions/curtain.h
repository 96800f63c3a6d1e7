// The closing curtain: a black curtain that comes down over the finished picture.
#pragma once

#include <cstdint>

#include "clock/demo_clock.h"
#include "transitions/window_pixels.h"

// Seconds the curtain takes from the top of the window to the bottom.
constexpr float curtainTime = 5.5f;

// The curtain's state, made on its first call and kept for the run.
struct Curtain {
    // A black picture and the curtain's clock started now.
    Curtain(int width, int height);

    std::int32_t calls = 0;
    DemoClock::Ticks startTicks = 0;
    PixelBuffer pixels;
};

// One frame of the curtain: the first call reads the picture back and draws nothing; later calls
// blacken the rows the curtain has reached and draw the picture. Returns false on the call at or
// after the curtain's time.
bool playCurtain(Curtain& curtain, int width, int height);

// How many rows from the top the curtain covers after the given seconds.
int curtainRows(float seconds, int height);
