// Bitmap text on real OpenGL: where lines start and end, centring, and the title's colour.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <GL/freeglut.h>

#include <string>

#include "gl_support.h"
#include "shapes/shape.h"
#include "text/line_callbacks.h"
#include "text/lines.h"
#include "text/text.h"

namespace {

// The window position where the next glyph would go.
Vec2 rasterPosition() {
    float position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    return {position[0], position[1]};
}

float pixelWidth(const std::string& text, void* font) {
    return static_cast<float>(
        glutBitmapLength(font, reinterpret_cast<const unsigned char*>(text.c_str())));
}

class TextDrawing : public testing::Test {
  protected:
    void SetUp() override {
        resetFrame();
        glColor3f(1.0f, 1.0f, 1.0f);
    }
};

TEST_F(TextDrawing, CentredTextStartsHalfItsPixelWidthLeftOfTheMiddle) {
    // The widest line, 44 characters of 8 pixels.
    EXPECT_EQ(centredX(personalGreetHeading, fixed8By13()), -0.55f);
    drawText("", fixed8By13(), centredX(personalGreetHeading, fixed8By13()), -0.2f);
    EXPECT_NEAR(rasterPosition().x, 144.0f, 1e-3);

    // An odd width starts on a half pixel: nothing is rounded to whole pixels.
    const std::string odd = "TARN 2022";
    ASSERT_EQ(static_cast<int>(pixelWidth(odd, timesRoman24())) % 2, 1);
    drawCentredText(odd, timesRoman24(), 0.0f);
    EXPECT_NEAR(rasterPosition().x, 320.0f + pixelWidth(odd, timesRoman24()) / 2, 1e-3);

    drawCentredText("", timesRoman24(), 0.5f);
    EXPECT_NEAR(rasterPosition().x, 320.0f, 1e-3);
    EXPECT_NEAR(rasterPosition().y, 360.0f, 1e-3);
}

TEST_F(TextDrawing, TitleSetsItsColourAfterItsRasterPositionSoItActsFromTheNextFrameOn) {
    float glyphColour[4] = {};
    drawTitleWord(nullptr);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, glyphColour);
    EXPECT_EQ(glyphColour[0], 1.0f);
    drawTitleWord(nullptr);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, glyphColour);
    EXPECT_FLOAT_EQ(glyphColour[0] * 255, 135.0f);
    EXPECT_FLOAT_EQ(glyphColour[1] * 255, 128.0f);
    EXPECT_FLOAT_EQ(glyphColour[2] * 255, 94.0f);
}

struct LinePlacement {
    ShapeCallback draw;
    const std::string& text;
    void* font;
    bool centred;
    Vec2 start; // x is only used by lines that are not centred
};

TEST_F(TextDrawing, LinesDrawTheirOwnTextAtTheirOwnPlace) {
    void* const times = timesRoman24();
    void* const fixed = fixed8By13();
    const LinePlacement lines[] = {
        {drawTitleWord, titleWord, times, true, {0, 0.0f}},
        {drawRespectHeading, respectHeading, times, false, {-0.47f, 0.71f}},
        {drawGreetGroup1, greetGroup1, times, false, {0.15f, -0.21f}},
        {drawGreetGroup8, greetGroup8, times, false, {0.15f, -0.91f}},
        {drawReleaseLine, releaseLine, times, true, {0, 0.0f}},
        {drawPersonalGreetLine2, personalGreetLine2, fixed, true, {0, -0.4f}},
    };
    for (const LinePlacement& line : lines) {
        SCOPED_TRACE(line.text);
        const float width = pixelWidth(line.text, line.font);
        const float startX = line.centred ? 320.0f - width / 2 : (line.start.x + 1) * 320;
        resetFrame();
        line.draw(nullptr);
        EXPECT_NEAR(rasterPosition().x, startX + width, 1e-3);
        EXPECT_NEAR(rasterPosition().y, (line.start.y + 1) * 240, 1e-3);
        const LitArea lit = litArea(readBackBuffer());
        EXPECT_GE(lit.left, static_cast<int>(startX));
        EXPECT_LT(lit.right, startX + width);
    }
}

} // namespace
