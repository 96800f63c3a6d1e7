// How work runs beside the frames: on threads of its own where the platform starts threads (the
// desktop), else inline on the caller's thread (the web, built without threads). One
// implementation per platform (work_beside_desktop.cpp, work_beside_web.cpp).
#pragma once

#include <functional>
#include <future>

// Whether threads can be started beside the caller at all.
bool threadsBeside();

// How many shares a picture's work is split into: one a core (at most 16) where threads run
// beside the caller, else one.
int workShares();

// The launch policy for work whose result is waited for later: std::launch::async where threads
// run beside the caller, else std::launch::deferred (run by whoever first waits for it).
std::launch besideLaunch();

// Starts `work` on a detached thread; where none can be started it runs before returning.
void runDetached(std::function<void()> work);
