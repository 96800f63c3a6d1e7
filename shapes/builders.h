// Builders of ordinary moving Shapes.
#pragma once

#include "shapes/shape.h"

// A Shape drawn and animated by its two callbacks alone (text lines, corner lines, panels).
Shape makeCallbackShape(ShapeCallback draw, ShapeCallback update, float param);

// The update callback of a callback Shape that never changes.
void keepStill(Shape* shape);

// A square of half-size `halfSize` in one colour, travelling and turning along one straight
// route. It stays at the origin with angle 0 until its first motion step.
Shape makeSquareShape(Colour colour, Vec2 start, Vec2 end, float startAngle, float endAngle,
                      float duration, float halfSize);
