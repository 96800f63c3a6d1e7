// Reading the finished picture back and drawing a composed one over the window.
#include "transitions/window_pixels.h"

#include <GL/glew.h>

#include "gfx/immediate.h"
#include "gfx/rgb_read.h"
#include "gfx/texture.h"

namespace {

// The texture the composed pictures are drawn from, made at the first draw and refilled.
static struct {
    GLuint texture = 0;
    int width = 0, height = 0;
} state;

// Sets a pixel-store alignment for the call and puts the caller's back afterwards.
template <typename Call> void withAlignment(GLenum parameter, Call call) {
    GLint was = 4;
    glGetIntegerv(parameter, &was);
    glPixelStorei(parameter, 1);
    call();
    glPixelStorei(parameter, was);
}

void fillTexture(const PixelBuffer& pixels, int width, int height) {
    glActiveTexture(gfx::layerTextureUnit);
    if (state.texture == 0 || state.width != width || state.height != height) {
        if (state.texture == 0) {
            state.texture = gfx::newNearestTexture(GL_CLAMP_TO_EDGE);
        }
        glBindTexture(GL_TEXTURE_2D, state.texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
        state.width = width;
        state.height = height;
    }
    glBindTexture(GL_TEXTURE_2D, state.texture);
    withAlignment(GL_UNPACK_ALIGNMENT, [&] {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE,
                        pixels.data());
    });
    glActiveTexture(GL_TEXTURE0);
}

} // namespace

void readWindowPixels(PixelBuffer& pixels, int width, int height) {
    // Rows are packed without padding whatever the width. What is read is the buffer being
    // drawn: a window's back buffer, or the colour of the off-screen picture.
    withAlignment(GL_PACK_ALIGNMENT, [&] { gfx::readRgbPixels(width, height, pixels.data()); });
}

void drawWindowPixels(const PixelBuffer& pixels, int width, int height) {
    fillTexture(pixels, width, height);
    // One quad over the whole picture at the pixel rectangle's depth, its texels one to a pixel.
    // Like the pixel rectangle it replaces, it is coloured by the Scene's program where one is in
    // use.
    gfx::MatrixStack& matrices = gfx::modelview();
    matrices.push();
    matrices.loadIdentity();
    gfx::setTexture(state.texture);
    gfx::begin(gfx::Primitive::Quads);
    gfx::texCoord(0.0f, 0.0f);
    gfx::vertex(-1.0f, -1.0f);
    gfx::texCoord(1.0f, 0.0f);
    gfx::vertex(1.0f, -1.0f);
    gfx::texCoord(1.0f, 1.0f);
    gfx::vertex(1.0f, 1.0f);
    gfx::texCoord(0.0f, 1.0f);
    gfx::vertex(-1.0f, 1.0f);
    gfx::end();
    gfx::setTexture(0);
    matrices.pop();
}
