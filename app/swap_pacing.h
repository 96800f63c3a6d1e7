// The windowing system's side of keeping to the display's refresh: vsync where the driver offers
// it, the refresh rate, and a wait that does not spin. One implementation per windowing system
// (swap_pacing_posix.cpp, swap_pacing_windows.cpp, swap_pacing_web.cpp).
#pragma once

#include <chrono>

// Asks the driver to hold each buffer swap to the display's refresh (a swap interval of 1).
// Needs the window's OpenGL context current. True when the driver took the request; a driver may
// take it and still not wait (a virtual display), which the frame pacer allows for.
bool requestVsync();

// The refresh rate of the display the window is on, in Hz; 0 when it cannot be told.
double displayRefreshRate();

// Returns at `deadline` or soon after, sleeping meanwhile.
void sleepUntil(std::chrono::steady_clock::time_point deadline);
