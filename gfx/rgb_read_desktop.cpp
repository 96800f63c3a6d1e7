// RGB read back on desktop OpenGL, which converts as it reads.
#include "gfx/rgb_read.h"

#include <GL/glew.h>

namespace gfx {

void readRgbPixels(int width, int height, std::uint8_t* rgb) {
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

} // namespace gfx
