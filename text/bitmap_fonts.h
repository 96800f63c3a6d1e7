// The two GLUT bitmap fonts the production writes with, as freeglut's own font tables hold them.
#pragma once

#include <array>
#include <cstdint>

// One font: every glyph is `height` rows high and is placed with the raster position at
// (xorig, yorig) from its bottom-left corner. A glyph's bytes are its width in pixels (which is
// also how far the raster position advances after it), then its rows from the bottom up,
// (width + 7) / 8 bytes a row, the leftmost pixel in the high bit of the first byte.
struct BitmapFontTable {
    int height;
    float xorig, yorig;
    std::array<const std::uint8_t*, 256> glyphs; // by character code
};

extern const BitmapFontTable timesRoman24Table;
extern const BitmapFontTable fixed8By13Table;
