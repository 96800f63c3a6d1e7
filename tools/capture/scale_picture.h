// The present step on the processor, for frames the renderer writes: the production's picture
// scaled into a frame of another size as a window shows it.
#pragma once

#include "app/letterbox.h"
#include "tools/capture/png_writer.h"

// The picture (top row first) in a frame of `size`: scaled to the largest size that fits with its
// shape kept, centred, black elsewhere. Each frame pixel takes the picture pixel under its
// centre (nearest neighbour), or with `smooth` the linear mix of the four picture pixels around
// its centre, the picture's edge pixels extended outwards.
RgbImage scalePicture(const RgbImage& picture, Size size, bool smooth);
