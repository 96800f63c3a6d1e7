// Shape drawing through the drawing layer, with the scale and pull pulses.
#include "shapes/shape_draw.h"

#include "audio/music_channel.h"
#include "gfx/immediate.h"
#include "shapes/pulses.h"

namespace {

gfx::Primitive primitiveOf(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Lines:
        return gfx::Primitive::Lines;
    case ShapeKind::Triangles:
        return gfx::Primitive::Triangles;
    case ShapeKind::Quads:
        return gfx::Primitive::Quads;
    case ShapeKind::Polygon:
    default:
        return gfx::Primitive::Polygon;
    }
}

} // namespace

void drawShape(Shape& shape) {
    if (shape.kind == ShapeKind::Callback) {
        shape.drawCallback(&shape);
        return;
    }
    // Two separate position reads, one per pulse, as the beat is sampled twice per Shape.
    const float scale = scalePulse(musicPositionThousands());
    const float pull = pullPulse(musicPositionThousands());

    gfx::MatrixStack& matrices = gfx::modelview();
    matrices.push();
    matrices.scale(scale, scale, scale);
    matrices.translate(-shape.x * pull, -shape.y * pull, 0.0f);
    matrices.translate(shape.x, shape.y, 0.0f);
    matrices.rotate(shape.angle, 0.0f, 0.0f, 1.0f);
    gfx::begin(primitiveOf(shape.kind));
    const bool perVertexColours = shape.colours.size() > 1;
    if (shape.colours.size() == 1) {
        gfx::colour(shape.colours[0].r, shape.colours[0].g, shape.colours[0].b);
    }
    for (std::size_t i = 0; i < shape.vertices.size(); ++i) {
        if (perVertexColours) {
            gfx::colour(shape.colours[i].r, shape.colours[i].g, shape.colours[i].b);
        }
        gfx::vertex(shape.vertices[i].x, shape.vertices[i].y);
    }
    gfx::end();
    matrices.pop();
}
