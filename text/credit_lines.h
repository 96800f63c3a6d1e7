// The six revealed credit lines of Scene 4: their draw and update callbacks.
#pragma once

#include "shapes/shape.h"

// Update callbacks: the first call starts the line's own reveal clock, which is never reset;
// every call rewrites the line's display string (noise, then the true text, then nothing).
// The Shape's param is the scramble time.
void updateShownCodeTitle(Shape* shape);
void updateShownCodeName(Shape* shape);
void updateShownMusicTitle(Shape* shape);
void updateShownMusicName(Shape* shape);
void updateShownGraphicsTitle(Shape* shape);
void updateShownGraphicsName(Shape* shape);

// Draw callbacks: print the display string in Times Roman 24 at (-0.55, 0.51) for a title and
// (-0.55, 0.41) for a handle. They ignore the Shape.
void drawShownCodeTitle(Shape* shape);
void drawShownCodeName(Shape* shape);
void drawShownMusicTitle(Shape* shape);
void drawShownMusicName(Shape* shape);
void drawShownGraphicsTitle(Shape* shape);
void drawShownGraphicsName(Shape* shape);
