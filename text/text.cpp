// Bitmap text drawing with the GLUT fonts, at raster positions in device coordinates.
#include "text/text.h"

#include <GL/glew.h>

#include <GL/freeglut.h>

#include "gfx/immediate.h"

void* timesRoman24() {
    return GLUT_BITMAP_TIMES_ROMAN_24;
}

void* fixed8By13() {
    return GLUT_BITMAP_8_BY_13;
}

void setRasterPosition(float x, float y) {
    // Through the layer's matrices to the 640x480 window, as the raster position was placed.
    const gfx::Mat4 mvp = gfx::multiply(gfx::projection().top(), gfx::modelview().top());
    const std::array<float, 4> clip = gfx::transformPoint(mvp, x, y, 0.0f);
    const float ndcX = clip[0] / clip[3];
    const float ndcY = clip[1] / clip[3];
    const float ndcZ = clip[2] / clip[3];
    // The glyphs stand in the current colour, lit at the raster position when lighting is on.
    glColor4fv(gfx::litCurrentColour(x, y, 0.0f).data());
    glWindowPos3f(ndcX * 320.0f + 320.0f, ndcY * 240.0f + 240.0f, ndcZ * 0.5f + 0.5f);
}

void drawText(const std::string& text, void* font, float x, float y) {
    setRasterPosition(x, y);
    drawCharacters(text, font);
}

void drawCentredText(const std::string& text, void* font, float y) {
    drawText(text, font, centredX(text, font), y);
}

float centredX(const std::string& text, void* font) {
    const int width = glutBitmapLength(font, reinterpret_cast<const unsigned char*>(text.c_str()));
    // The quotient is taken in double and only then narrowed, which fixes the rounding.
    return static_cast<float>(static_cast<float>(-width) / 640.0);
}

void drawCharacters(const std::string& text, void* font) {
    // Without a Scene's program the glyphs stand in their raster colour.
    if (gfx::sceneProgram() == 0) {
        glUseProgram(0);
    }
    for (const char c : text) {
        glutBitmapCharacter(font, static_cast<int>(static_cast<signed char>(c)));
    }
}
