// Builders of ordinary moving Shapes.
#pragma once

#include "shapes/shape.h"

// A square of half-size `halfSize` in one colour, travelling and turning along one straight
// route. It stays at the origin with angle 0 until its first motion step.
Shape makeSquareShape(Colour colour, Vec2 start, Vec2 end, float startAngle, float endAngle,
                      float duration, float halfSize);
