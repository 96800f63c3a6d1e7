// RGB read back in WebGL 2, which reads 8-bit colours as RGBA alone: read so, then the alpha
// bytes dropped.
#include "gfx/rgb_read.h"

#include <cstddef>
#include <vector>

#include <GL/glew.h>

namespace gfx {

void readRgbPixels(int width, int height, std::uint8_t* rgb) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> rgba(pixels * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (std::size_t i = 0; i < pixels; ++i) {
        rgb[3 * i] = rgba[4 * i];
        rgb[3 * i + 1] = rgba[4 * i + 1];
        rgb[3 * i + 2] = rgba[4 * i + 2];
    }
}

} // namespace gfx
