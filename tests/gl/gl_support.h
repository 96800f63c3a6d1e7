// Helpers for tests that draw into the hidden window and read its pixels back.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <GL/glew.h>

struct Rgb {
    std::uint8_t r, g, b;
};

// Clears colour and depth to black, with identity matrices and no program bound.
inline void resetFrame() {
    glUseProgram(0);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The back buffer as 640x480 RGB, row 0 at the bottom.
inline std::vector<std::uint8_t> readBackBuffer() {
    std::vector<std::uint8_t> pixels(640 * 480 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Pixel at column x, row y counted from the bottom.
inline Rgb pixelAt(const std::vector<std::uint8_t>& pixels, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * 640 + x) * 3;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
}

inline bool isBlack(Rgb p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}
