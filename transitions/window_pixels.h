// Whole-window pixel transfers of the outros: RGB bytes, rows bottom-up, no padding.
#pragma once

#include <cstdint>
#include <vector>

// A width x height x 3 picture, row 0 at the bottom of the window.
using PixelBuffer = std::vector<std::uint8_t>;

// Reads the picture the frame is about to show: the current read buffer, which is a window's
// back buffer or the colour of the off-screen picture.
void readWindowPixels(PixelBuffer& pixels, int width, int height);

// Draws the picture over the whole window from its bottom-left corner, with whatever drawing
// state the Scene left in place (a bound program shades these pixels too).
void drawWindowPixels(const PixelBuffer& pixels, int width, int height);
