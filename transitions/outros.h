// The outro transitions that end each Scene: five particle dissolves and a closing curtain.
#pragma once

#include <optional>

#include "transitions/curtain.h"

// Seconds each Scene's outro runs by its own clock, in playing order: the frame in which its
// clock reaches this time is its last.
constexpr float outroRunTimes[] = {5.51f, 5.0f, 3.0f, 2.91f, 3.91f, curtainTime};

// Each takes the window size in pixels and returns true while it runs; each keeps its own state
// from its first call on and is played once.
bool scene1Outro(int width, int height);
bool scene2Outro(int width, int height);
bool scene3Outro(int width, int height);
bool scene4Outro(int width, int height);
bool scene5Outro(int width, int height);
bool scene6Outro(int width, int height);

// The outros seed the random sequence from the wall clock when they start; a fixed seed makes runs
// repeatable (the offline renderer's --seed).
void setOutroSeed(std::optional<unsigned> seed);
