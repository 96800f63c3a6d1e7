// Helpers for tests that draw into the hidden window and read its pixels back.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "clock/demo_clock.h"

struct Rgb {
    std::uint8_t r, g, b;
};

// Clears colour and depth to black, with identity matrices and no program bound.
inline void resetFrame() {
    glUseProgram(0);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
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

// Pixel under the point (x, y) of the drawing space, -1 to 1 on both axes.
inline Rgb pixelAtPoint(const std::vector<std::uint8_t>& pixels, float x, float y) {
    const int column = std::clamp(static_cast<int>(std::floor((x + 1.0f) * 320.0f)), 0, 639);
    const int row = std::clamp(static_cast<int>(std::floor((y + 1.0f) * 240.0f)), 0, 479);
    return pixelAt(pixels, column, row);
}

// The columns and rows holding anything but black, and how many such pixels there are.
struct LitArea {
    int left = 640, right = -1, bottom = 480, top = -1;
    int count = 0;
};

inline LitArea litArea(const std::vector<std::uint8_t>& pixels) {
    LitArea area;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (!isBlack(pixelAt(pixels, x, y))) {
                area.left = std::min(area.left, x);
                area.right = std::max(area.right, x);
                area.bottom = std::min(area.bottom, y);
                area.top = std::max(area.top, y);
                ++area.count;
            }
        }
    }
    return area;
}

// A quad over the whole picture; with identity matrices every pixel gets one fragment.
inline void drawFullScreenQuad() {
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
}

// The first `count` numbers of the C generator's sequence for `seed`, which is then restarted.
inline std::vector<int> randSequence(int count, unsigned seed = 1) {
    std::srand(seed);
    std::vector<int> values(count);
    for (int& value : values) {
        value = std::rand();
    }
    std::srand(seed);
    return values;
}

// Tests on a manually set clock that starts at `base`; `at` is `seconds` later.
class ClockedTest : public testing::Test {
  protected:
    static constexpr DemoClock::Ticks base = 5'000'000'000;
    static DemoClock::Ticks at(double seconds) {
        return base + static_cast<DemoClock::Ticks>(std::llround(seconds * 1e7));
    }
    void SetUp() override {
        DemoClock::setManualTime(base);
        resetFrame();
    }
    void TearDown() override { DemoClock::setSource(nullptr); }
};

// The window position a fragment shader sees for the centre of a pixel, as 0 to 1.
inline float pixelCentreX(int column) {
    return (static_cast<float>(column) + 0.5f) / 640.0f;
}
inline float pixelCentreY(int row) {
    return (static_cast<float>(row) + 0.5f) / 480.0f;
}

// The byte a colour channel from 0 to 1 is stored as in the 8-bit back buffer.
inline int byteLevel(float channel) {
    return static_cast<int>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

// Largest difference between a pixel and a colour, in byte levels over the three channels.
inline int levelDistance(Rgb pixel, float r, float g, float b) {
    return std::max({std::abs(pixel.r - byteLevel(r)), std::abs(pixel.g - byteLevel(g)),
                     std::abs(pixel.b - byteLevel(b))});
}
