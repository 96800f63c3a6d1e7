// Reading the finished picture back and drawing a composed one over the window.
#include "transitions/window_pixels.h"

#include <GL/glew.h>

void readWindowPixels(PixelBuffer& pixels, int width, int height) {
    // Rows are packed without padding whatever the width; the caller's pixel-store settings are
    // restored afterwards. What is read is the buffer being drawn: a window's back buffer, or the
    // colour of the off-screen picture.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
}

void drawWindowPixels(const PixelBuffer& pixels, int width, int height) {
    glRasterPos2f(-1.0f, -1.0f); // both matrices are the identity: the bottom-left corner
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
}
