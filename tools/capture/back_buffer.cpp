// Back-buffer read-back for the offline renderer.
#include "tools/capture/back_buffer.h"

#include <algorithm>

#include <GL/glew.h>

RgbImage readBackBuffer(int width, int height) {
    RgbImage image{width, height, {}};
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * height);

    glPushAttrib(GL_PIXEL_MODE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glPopClientAttrib();
    glPopAttrib();

    // OpenGL counts rows from the bottom; image files start at the top.
    image.pixels.resize(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        const auto source = bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        std::copy(source, source + static_cast<std::ptrdiff_t>(rowBytes),
                  image.pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * (height - 1 - y)));
    }
    return image;
}
