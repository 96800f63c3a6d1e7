// The renderer's output frame: presenting the picture into it and reading it back.
#include "tools/capture/output_frame.h"

#include <algorithm>

#include "app/picture.h"

OutputFrame::OutputFrame(Size size) : size_(size) {
    GLuint colour = 0;
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width, size.height);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
}

void OutputFrame::present(bool smooth) {
    presentPicture(framebuffer_, size_, smooth);
}

RgbImage OutputFrame::read() const {
    RgbImage image{size_.width, size_.height, {}};
    const std::size_t rowBytes = static_cast<std::size_t>(size_.width) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * size_.height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glReadPixels(0, 0, size_.width, size_.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glPopClientAttrib();

    // OpenGL counts rows from the bottom; image files start at the top.
    image.pixels.resize(bottomUp.size());
    for (int y = 0; y < size_.height; ++y) {
        const auto source = bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        std::copy(source, source + static_cast<std::ptrdiff_t>(rowBytes),
                  image.pixels.begin() +
                      static_cast<std::ptrdiff_t>(rowBytes * (size_.height - 1 - y)));
    }
    return image;
}
