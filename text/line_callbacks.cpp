// Draw callbacks of the fixed text lines of Scenes 2, 3, 5 and 6.
#include "text/line_callbacks.h"

#include <GL/glew.h>

#include "gfx/immediate.h"
#include "text/lines.h"
#include "text/text.h"

namespace {

// The title is centred on this literal's width, not on the line it prints.
constexpr char titleCentringWord[] = "OMBRA";
// The production's text colour: the Scene 2 title's colour call and the closing card's lines.
constexpr float titleRed = 135 / 255.f;
constexpr float titleGreen = 128 / 255.f;
constexpr float titleBlue = 94 / 255.f;

constexpr float greetGroupX = 0.15f;

void drawGreetGroup(const std::string& name, float y) {
    drawText(name, timesRoman24(), greetGroupX, y);
}

// The closing card's field fills the screen, and a glyph shaded by the field would vanish into
// it. So these lines take their raster colour unlit, with no program in use, and then put back
// the program, the light and the colour they found. The square drawn after them at the same
// depth cannot cover their pixels.
void drawCardLine(const std::string& text, BitmapFont font, float y) {
    const GLuint program = gfx::sceneProgram();
    const GLuint glyphProgram = gfx::sceneGlyphProgram();
    const bool lit = gfx::lightingEnabled();
    const std::array<float, 4> light = gfx::lightPosition();
    const std::array<float, 4> colour = gfx::currentColour();
    gfx::useSceneProgram(0);
    gfx::setLighting(false);
    gfx::colour(titleRed, titleGreen, titleBlue);
    drawCentredText(text, font, y);
    gfx::colour(colour[0], colour[1], colour[2], colour[3]);
    gfx::setLighting(lit, light);
    gfx::useSceneProgram(program, glyphProgram);
}

} // namespace

void drawTitleWord(Shape*) {
    setRasterPosition(centredX(titleCentringWord, timesRoman24()), 0.0f);
    // The raster colour was fixed by the raster position, so this colour only reaches what is
    // drawn after the title: the outlines of this frame and the title of the next.
    gfx::colour(titleRed, titleGreen, titleBlue);
    drawCharacters(titleWord, timesRoman24());
}

void drawSignOffLine(Shape*) {
    drawCentredText(signOffLine, timesRoman24(), 0.0f);
}

void drawRespectHeading(Shape*) {
    drawText(respectHeading, timesRoman24(), -0.47f, 0.71f);
}

void drawGreetGroup1(Shape*) {
    drawGreetGroup(greetGroup1, -0.21f);
}
void drawGreetGroup2(Shape*) {
    drawGreetGroup(greetGroup2, -0.31f);
}
void drawGreetGroup3(Shape*) {
    drawGreetGroup(greetGroup3, -0.41f);
}
void drawGreetGroup4(Shape*) {
    drawGreetGroup(greetGroup4, -0.51f);
}
void drawGreetGroup5(Shape*) {
    drawGreetGroup(greetGroup5, -0.61f);
}
void drawGreetGroup6(Shape*) {
    drawGreetGroup(greetGroup6, -0.71f);
}
void drawGreetGroup7(Shape*) {
    drawGreetGroup(greetGroup7, -0.81f);
}
void drawGreetGroup8(Shape*) {
    drawGreetGroup(greetGroup8, -0.91f);
}

void drawReleaseLine(Shape*) {
    drawCardLine(releaseLine, timesRoman24(), 0.0f);
}
void drawPersonalGreetHeading(Shape*) {
    drawCardLine(personalGreetHeading, fixed8By13(), -0.2f);
}
void drawPersonalGreetLine1(Shape*) {
    drawCardLine(personalGreetLine1, fixed8By13(), -0.3f);
}
void drawPersonalGreetLine2(Shape*) {
    drawCardLine(personalGreetLine2, fixed8By13(), -0.4f);
}
