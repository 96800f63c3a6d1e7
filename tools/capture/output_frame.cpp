// The renderer's output frame: the picture read back, then scaled on the processor, which in a
// software renderer costs a fraction of drawing it scaled.
#include "tools/capture/output_frame.h"

#include <algorithm>

#include <GL/glew.h>

#include "app/picture.h"
#include "tools/capture/scale_picture.h"

namespace {

// The picture as RGB, top row first.
RgbImage readPicture() {
    const int width = pictureSize.width, height = pictureSize.height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * height);
    usePicture();
    // Rows packed tight from the first pixel; the caller's pixel-store settings are put back.
    constexpr GLenum parameters[] = {GL_PACK_ALIGNMENT, GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS,
                                     GL_PACK_SKIP_PIXELS};
    constexpr GLint packed[] = {1, 0, 0, 0};
    GLint was[4] = {};
    for (int i = 0; i < 4; ++i) {
        glGetIntegerv(parameters[i], &was[i]);
        glPixelStorei(parameters[i], packed[i]);
    }
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int i = 0; i < 4; ++i) {
        glPixelStorei(parameters[i], was[i]);
    }

    // OpenGL counts rows from the bottom; image files start at the top.
    RgbImage image{width, height, std::vector<std::uint8_t>(bottomUp.size())};
    for (int y = 0; y < height; ++y) {
        const auto source = bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        std::copy(source, source + static_cast<std::ptrdiff_t>(rowBytes),
                  image.pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * (height - 1 - y)));
    }
    return image;
}

} // namespace

OutputFrame::OutputFrame(Size size, bool smooth) : size_(size), smooth_(smooth) {}

RgbImage OutputFrame::read() const {
    RgbImage picture = readPicture();
    if (size_.width == picture.width && size_.height == picture.height) {
        return picture;
    }
    return scalePicture(picture, size_, smooth_);
}
