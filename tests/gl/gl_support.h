// Helpers for tests that draw into the hidden 640x480 window and read its pixels back.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "clock/demo_clock.h"
#include "gfx/immediate.h"

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
using Picture = std::vector<unsigned char>; // 640x480 RGB, row 0 at the bottom

// Clears colour and depth to black, with identity matrices, no program and no lighting.
inline void resetFrame() {
    glUseProgram(0);
    gfx::useSceneProgram(0);
    gfx::setLighting(false);
    gfx::setShading(gfx::Shading::Smooth);
    gfx::colour(1.0f, 1.0f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gfx::projection().loadIdentity();
    gfx::modelview().loadIdentity();
}

// One quad over the whole window through the drawing layer: one fragment a pixel.
inline void fillWindow() {
    gfx::begin(gfx::Primitive::Quads);
    gfx::vertex(-1.0f, -1.0f);
    gfx::vertex(1.0f, -1.0f);
    gfx::vertex(1.0f, 1.0f);
    gfx::vertex(-1.0f, 1.0f);
    gfx::end();
}

inline Picture readBackBuffer() {
    Picture pixels(640 * 480 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Pixel at column x, row y counted from the bottom.
inline Rgb pixelAt(const Picture& pixels, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * 640 + x) * 3;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
}

// The left, right, bottom and top of what is not black within a box, and how many pixels it has.
inline std::array<int, 5> litArea(const Picture& pixels, int left = 0, int bottom = 0,
                                  int right = 639, int top = 479) {
    std::array<int, 5> area{640, -1, 480, -1, 0};
    for (int y = std::max(bottom, 0); y <= std::min(top, 479); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, 639); ++x) {
            if (!(pixelAt(pixels, x, y) == Rgb{})) { // not black
                area = {std::min(area[0], x), std::max(area[1], x), std::min(area[2], y),
                        std::max(area[3], y), area[4] + 1};
            }
        }
    }
    return area;
}

// Tests on a manually set clock that starts at `base`; `at` is `seconds` later.
class ClockedTest : public testing::Test {
  protected:
    static constexpr DemoClock::Ticks base = 5'000'000'000;
    static DemoClock::Ticks at(double seconds) { return base + std::llround(seconds * 1e7); }
    void SetUp() override {
        DemoClock::setManualTime(base);
        resetFrame();
    }
    void TearDown() override { DemoClock::setSource(nullptr); }
};
