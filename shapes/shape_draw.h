// Drawing one Shape through the drawing layer, throbbing with the music.
#pragma once

#include "shapes/shape.h"

// A callback Shape only runs its draw callback. Any other Shape is scaled by the scale pulse
// around the screen centre, pulled towards it by the pull pulse, placed, turned and drawn with
// its colours. The modelview matrix is left as it was found.
void drawShape(Shape& shape);
