// The page's frame-exact mode: the production on the simulated clock at 60 frames a second, as
// `ombra-capture --frames LIST --seed S --silent` plays it, each listed frame's picture handed to
// the page; nothing shown, nothing heard.
#pragma once

#include <optional>

#include "app/frame_list.h"

// Prepares the run; call it with the canvas open and before the Scenes are built.
void prepareFrameExactRun(std::optional<unsigned> seed);

// Plays the frames from 0 to the last one listed, a share of them in each call, and hands each
// listed one to the page; the page's frame callback calls it until it says the run is over. Then
// it has told the page that all frames are done, or what failed.
bool continueFrameExactRun(const FrameList& frames);
