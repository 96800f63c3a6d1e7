// Reading colours back as RGB bytes, the way each kind of OpenGL allows (rgb_read_desktop.cpp,
// rgb_read_web.cpp).
#pragma once

#include <cstdint>

namespace gfx {

// Reads width x height pixels of the current read buffer from its bottom-left corner into `rgb`:
// three bytes a pixel, bottom row first, rows packed without padding (the caller sets
// GL_PACK_ALIGNMENT to 1).
void readRgbPixels(int width, int height, std::uint8_t* rgb);

} // namespace gfx
