// Bitmap text on real OpenGL: raster placement of every line, centring, glyph colours.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <string>

#include "gl_support.h"
#include "shapes/shape.h"
#include "text/credit_lines.h"
#include "text/line_callbacks.h"
#include "text/lines.h"
#include "text/text.h"

namespace {

struct RasterPosition {
    float x, y;
};

RasterPosition rasterPosition() {
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    EXPECT_TRUE(valid);
    std::array<float, 4> position{};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position.data());
    return {position[0], position[1]};
}

std::array<float, 4> glColour(GLenum which) {
    std::array<float, 4> colour{};
    glGetFloatv(which, colour.data());
    return colour;
}

// How far the glyphs of `text` move the raster position, summed glyph by glyph.
float advanceOf(const std::string& text, void* font) {
    int pixels = 0;
    for (const char c : text) {
        pixels += glutBitmapWidth(font, static_cast<unsigned char>(c));
    }
    return static_cast<float>(pixels);
}

float windowX(float x) {
    return (x + 1.0f) * 320.0f;
}
float windowY(float y) {
    return (y + 1.0f) * 240.0f;
}

// The smallest box around every non-black pixel, and whether all of them have one colour.
struct LitPixels {
    int count = 0;
    int left = 640, right = -1, bottom = 480, top = -1;
    bool allOf(Rgb colour, const std::vector<std::uint8_t>& pixels) const {
        for (int y = bottom; y <= top; ++y) {
            for (int x = left; x <= right; ++x) {
                const Rgb p = pixelAt(pixels, x, y);
                if (!isBlack(p) && (p.r != colour.r || p.g != colour.g || p.b != colour.b)) {
                    return false;
                }
            }
        }
        return true;
    }
};

LitPixels litPixelsOf(const std::vector<std::uint8_t>& pixels) {
    LitPixels lit;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (!isBlack(pixelAt(pixels, x, y))) {
                ++lit.count;
                lit.left = std::min(lit.left, x);
                lit.right = std::max(lit.right, x);
                lit.bottom = std::min(lit.bottom, y);
                lit.top = std::max(lit.top, y);
            }
        }
    }
    return lit;
}

class TextDrawing : public testing::Test {
  protected:
    void SetUp() override {
        resetFrame();
        glColor3f(1.0f, 1.0f, 1.0f);
    }
};

TEST_F(TextDrawing, CentringUsesMinusThePixelWidthOverSixHundredForty) {
    // The widest line: 44 characters of 8 pixels.
    ASSERT_EQ(glutBitmapLength(fixed8By13(), reinterpret_cast<const unsigned char*>(
                                                 personalGreetHeading.c_str())),
              352);
    EXPECT_EQ(centredX(personalGreetHeading, fixed8By13()), -0.55f);
    drawText("", fixed8By13(), centredX(personalGreetHeading, fixed8By13()), -0.2f);
    EXPECT_NEAR(rasterPosition().x, 144.0f, 1e-3);

    drawCentredText(personalGreetHeading, fixed8By13(), -0.2f);
    const RasterPosition end = rasterPosition();
    EXPECT_NEAR(end.x, 144.0f + 352.0f, 1e-3);
    EXPECT_NEAR(end.y, windowY(-0.2f), 1e-3);

    // An odd width puts the start on a half pixel; nothing is rounded to whole pixels.
    const std::string odd = "TARN 2022";
    const int width =
        glutBitmapLength(timesRoman24(), reinterpret_cast<const unsigned char*>(odd.c_str()));
    drawCentredText(odd, timesRoman24(), 0.0f);
    EXPECT_NEAR(rasterPosition().x - advanceOf(odd, timesRoman24()), 320.0f - width / 2.0f, 1e-3);

    drawCentredText("", timesRoman24(), 0.5f);
    EXPECT_NEAR(rasterPosition().x, 320.0f, 1e-3);
    EXPECT_NEAR(rasterPosition().y, 360.0f, 1e-3);
}

TEST_F(TextDrawing, EmptyTextOnlyMovesTheRasterPosition) {
    drawText("", timesRoman24(), 0.25f, 0.5f);
    const RasterPosition position = rasterPosition();
    EXPECT_NEAR(position.x, 400.0f, 1e-3);
    EXPECT_NEAR(position.y, 360.0f, 1e-3);
    drawCentredText("", fixed8By13(), -0.4f);
    EXPECT_EQ(litPixelsOf(readBackBuffer()).count, 0);
}

TEST_F(TextDrawing, GlyphsLieRightOfTheRasterPositionInItsColour) {
    glColor3ub(200, 100, 50);
    drawText(releaseLine, timesRoman24(), -0.5f, 0.0f); // starts at pixel 160 on the row 240
    const std::vector<std::uint8_t> pixels = readBackBuffer();
    const LitPixels lit = litPixelsOf(pixels);
    ASSERT_GT(lit.count, 100);
    EXPECT_TRUE(lit.allOf({200, 100, 50}, pixels));
    EXPECT_GE(lit.left, 160);
    EXPECT_LE(lit.left, 163);
    EXPECT_LT(lit.right, 160 + advanceOf(releaseLine, timesRoman24()));
    EXPECT_GE(lit.bottom, 240); // capitals and figures stand on the baseline
    EXPECT_LE(lit.bottom, 241);
    EXPECT_LE(lit.top, 240 + 24);
}

TEST_F(TextDrawing, TitleColourActsOnlyOnWhatIsDrawnAfterTheTitle) {
    drawTitleWord(nullptr);
    // The raster colour was taken before the title's own colour call.
    const std::array<float, 4> rasterColour = glColour(GL_CURRENT_RASTER_COLOR);
    EXPECT_EQ(rasterColour[0], 1.0f);
    EXPECT_EQ(rasterColour[1], 1.0f);
    EXPECT_EQ(rasterColour[2], 1.0f);
    const std::array<float, 4> colour = glColour(GL_CURRENT_COLOR);
    EXPECT_FLOAT_EQ(colour[0], 135 / 255.0f);
    EXPECT_FLOAT_EQ(colour[1], 128 / 255.0f);
    EXPECT_FLOAT_EQ(colour[2], 94 / 255.0f);
    std::vector<std::uint8_t> pixels = readBackBuffer();
    LitPixels lit = litPixelsOf(pixels);
    ASSERT_GT(lit.count, 100);
    EXPECT_TRUE(lit.allOf({255, 255, 255}, pixels));

    // The next frame's title carries the colour the previous frame set.
    resetFrame();
    drawTitleWord(nullptr);
    pixels = readBackBuffer();
    lit = litPixelsOf(pixels);
    ASSERT_GT(lit.count, 100);
    EXPECT_TRUE(lit.allOf({135, 128, 94}, pixels));
}

struct LinePlacement {
    const char* name;
    ShapeCallback draw;
    const std::string& text;
    void* font;
    bool centred;
    float x; // the start, for lines that are not centred
    float y;
};

TEST_F(TextDrawing, EveryLineDrawsItsOwnTextAtItsOwnPlace) {
    void* const times = timesRoman24();
    void* const fixed = fixed8By13();
    const LinePlacement lines[] = {
        {"title", drawTitleWord, titleWord, times, true, 0, 0.0f},
        {"sign-off", drawSignOffLine, signOffLine, times, true, 0, 0.0f},
        {"code title", drawShownCodeTitle, shownCodeTitle, times, false, -0.55f, 0.51f},
        {"code handle", drawShownCodeName, shownCodeName, times, false, -0.55f, 0.41f},
        {"music title", drawShownMusicTitle, shownMusicTitle, times, false, -0.55f, 0.51f},
        {"music handle", drawShownMusicName, shownMusicName, times, false, -0.55f, 0.41f},
        {"graphics title", drawShownGraphicsTitle, shownGraphicsTitle, times, false, -0.55f, 0.51f},
        {"graphics handle", drawShownGraphicsName, shownGraphicsName, times, false, -0.55f, 0.41f},
        {"respect", drawRespectHeading, respectHeading, times, false, -0.47f, 0.71f},
        {"group 1", drawGreetGroup1, greetGroup1, times, false, 0.15f, -0.21f},
        {"group 2", drawGreetGroup2, greetGroup2, times, false, 0.15f, -0.31f},
        {"group 3", drawGreetGroup3, greetGroup3, times, false, 0.15f, -0.41f},
        {"group 4", drawGreetGroup4, greetGroup4, times, false, 0.15f, -0.51f},
        {"group 5", drawGreetGroup5, greetGroup5, times, false, 0.15f, -0.61f},
        {"group 6", drawGreetGroup6, greetGroup6, times, false, 0.15f, -0.71f},
        {"group 7", drawGreetGroup7, greetGroup7, times, false, 0.15f, -0.81f},
        {"group 8", drawGreetGroup8, greetGroup8, times, false, 0.15f, -0.91f},
        {"release", drawReleaseLine, releaseLine, times, true, 0, 0.0f},
        {"greetings heading", drawPersonalGreetHeading, personalGreetHeading, fixed, true, 0,
         -0.2f},
        {"greetings 1", drawPersonalGreetLine1, personalGreetLine1, fixed, true, 0, -0.3f},
        {"greetings 2", drawPersonalGreetLine2, personalGreetLine2, fixed, true, 0, -0.4f},
    };
    for (const LinePlacement& line : lines) {
        SCOPED_TRACE(line.name);
        const float advance = advanceOf(line.text, line.font);
        const float startX = line.centred ? 320.0f - advance / 2.0f : windowX(line.x);
        resetFrame();
        line.draw(nullptr);
        const RasterPosition end = rasterPosition();
        EXPECT_NEAR(end.x, startX + advance, 1e-3);
        EXPECT_NEAR(end.y, windowY(line.y), 1e-3);
        EXPECT_GT(litPixelsOf(readBackBuffer()).count, 0);
    }
    const std::array<ShapeCallback, 8> groupsInOrder{
        drawGreetGroup1, drawGreetGroup2, drawGreetGroup3, drawGreetGroup4,
        drawGreetGroup5, drawGreetGroup6, drawGreetGroup7, drawGreetGroup8};
    EXPECT_EQ(greetGroupDrawCallbacks, groupsInOrder);
}

} // namespace
