// Turns a custom-curve line Shape into filled boxes across the middle third of its segments.
#pragma once

#include "shapes/shape.h"

// The custom curve's last pass leaves groups of twelve points per original segment: the first
// third, the four sides of the box (near side, right side, left side, far side) and the last
// third. Each group becomes three quads: the box as bottom-left, bottom-right, top-right,
// top-left, and the two outer thirds folded into quads of zero area that fill no pixel. Points
// after the last whole group are dropped; the Shape's kind becomes Quads.
void fillCustomBoxes(Shape& shape);
