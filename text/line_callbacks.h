// Draw callbacks of the fixed text lines of Scenes 2, 3, 5 and 6. Each prints one line and
// ignores the Shape; their update callback is keepStill (shapes/builders.h).
#pragma once

#include <array>

#include "shapes/shape.h"

// Scene 2: "OMBRA" centred on y = 0, then the title colour is set for what follows.
void drawTitleWord(Shape* shape);

// Scene 3: the sign-off, centred on y = 0.
void drawSignOffLine(Shape* shape);

// Scene 5: the heading at (-0.47, 0.71) and the group names at x = 0.15, one every 0.1 down
// from y = -0.21.
void drawRespectHeading(Shape* shape);
void drawGreetGroup1(Shape* shape);
void drawGreetGroup2(Shape* shape);
void drawGreetGroup3(Shape* shape);
void drawGreetGroup4(Shape* shape);
void drawGreetGroup5(Shape* shape);
void drawGreetGroup6(Shape* shape);
void drawGreetGroup7(Shape* shape);
void drawGreetGroup8(Shape* shape);

// The eight group-name callbacks in the order they appear.
inline constexpr std::array<ShapeCallback, 8> greetGroupDrawCallbacks{
    drawGreetGroup1, drawGreetGroup2, drawGreetGroup3, drawGreetGroup4,
    drawGreetGroup5, drawGreetGroup6, drawGreetGroup7, drawGreetGroup8};

// Scene 6: the release line centred on y = 0 in Times Roman 24, and the personal greetings
// centred at y = -0.2, -0.3 and -0.4 in the 8x13 font. Unlike every other line they are not
// shaded by the Scene's field: their glyphs stand in the text colour (135, 128, 94) / 255.
void drawReleaseLine(Shape* shape);
void drawPersonalGreetHeading(Shape* shape);
void drawPersonalGreetLine1(Shape* shape);
void drawPersonalGreetLine2(Shape* shape);
