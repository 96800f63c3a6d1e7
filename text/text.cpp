// Bitmap text drawing with the GLUT fonts, at raster positions in device coordinates.
#include "text/text.h"

#include <GL/freeglut.h>

void* timesRoman24() {
    return GLUT_BITMAP_TIMES_ROMAN_24;
}

void* fixed8By13() {
    return GLUT_BITMAP_8_BY_13;
}

void drawText(const std::string& text, void* font, float x, float y) {
    glRasterPos2f(x, y);
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
    for (const char c : text) {
        glutBitmapCharacter(font, static_cast<int>(static_cast<signed char>(c)));
    }
}
