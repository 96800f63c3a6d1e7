// Text Shapes: callback Shapes that print one line and run its update.
#pragma once

#include "shapes/shape.h"

// A callback Shape with no vertices, colours or routes; `param` is the reveal's scramble time
// (static lines ignore it).
Shape makeTextShape(ShapeCallback draw, ShapeCallback update, float param);
