// Builders of squares and callback Shapes.
#include "shapes/builders.h"

Shape makeSquareShape(Colour colour, Vec2 start, Vec2 end, float startAngle, float endAngle,
                      float duration, float halfSize) {
    Shape square;
    square.kind = ShapeKind::Quads;
    square.colours.push_back(colour);
    const float s = halfSize;
    square.vertices = {{-s, -s}, {s, -s}, {s, s}, {-s, s}}; // counter-clockwise from lower left
    square.routes.emplace_back(start, end, startAngle, endAngle, duration);
    return square;
}

Shape makeCallbackShape(ShapeCallback draw, ShapeCallback update, float param) {
    Shape shape;
    shape.kind = ShapeKind::Callback;
    shape.drawCallback = draw;
    shape.updateCallback = update;
    shape.param = param;
    return shape;
}

void keepStill(Shape*) {}
