// Bitmap text on real OpenGL: centring and the title's colour.

#include <GL/glew.h>

#include <GL/freeglut.h>

#include <string>

#include "gl_support.h"
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

} // namespace
