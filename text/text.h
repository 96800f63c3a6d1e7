// Bitmap text: the two drawing primitives every line of the production uses.
#pragma once

#include <string>

// GLUT bitmap fonts, as their opaque handles.
void* timesRoman24();
void* fixed8By13();

// Places the next characters at (x, y), transformed by the drawing layer's matrices.
void setRasterPosition(float x, float y);

// Sets the raster position to (x, y) and draws the characters of `text` in `font`.
void drawText(const std::string& text, void* font, float x, float y);

// Draws `text` with its middle at x = 0: x is minus its pixel width divided by 640.
void drawCentredText(const std::string& text, void* font, float y);

// The x at which `text` in `font` starts when centred: minus its pixel width over 640.
float centredX(const std::string& text, void* font);

// Draws the characters of `text` from the current raster position on, one byte at a time.
void drawCharacters(const std::string& text, void* font);
