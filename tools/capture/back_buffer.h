// Reading the picture a frame left in the back buffer, before it is swapped to the screen.
#pragma once

#include "tools/capture/png_writer.h"

// The lower-left width x height pixels of the back buffer as RGB, top row first. Leaves the
// OpenGL read buffer and pixel packing settings as it found them, since the outros read the back
// buffer too.
RgbImage readBackBuffer(int width, int height);
