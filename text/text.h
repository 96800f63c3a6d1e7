// Bitmap text: the two drawing primitives every line of the production uses, drawn from glyph
// atlases of the two bitmap fonts through the drawing layer.
#pragma once

#include <array>
#include <string>

#include "text/glyph_atlas.h"

// The production's two fonts.
BitmapFont timesRoman24();
BitmapFont fixed8By13();

// Places the next characters at (x, y), transformed by the drawing layer's matrices into the
// 640x480 window, and fixes their colour: the current one, lit there when lighting is on.
void setRasterPosition(float x, float y);

// Sets the raster position to (x, y) and draws the characters of `text` in `font`.
void drawText(const std::string& text, BitmapFont font, float x, float y);

// The raster position in window pixels: where the next character goes.
std::array<float, 2> rasterPosition();

// Draws `text` with its middle at x = 0: x is minus its pixel width divided by 640.
void drawCentredText(const std::string& text, BitmapFont font, float y);

// The x at which `text` in `font` starts when centred: minus its pixel width over 640.
float centredX(const std::string& text, BitmapFont font);

// Draws the characters of `text` from the raster position on, one byte at a time, and moves the
// raster position past them. Each glyph is a quad of whole pixels whose uncovered pixels are
// dropped; the rest take the raster colour, or the Scene program's where one is in use, and the
// raster position's depth.
void drawCharacters(const std::string& text, BitmapFont font);
