// Immediate-mode Shape drawing with the scale and pull pulses.
#include "shapes/shape_draw.h"

#include <GL/glew.h>

#include "audio/music_channel.h"
#include "shapes/pulses.h"

namespace {

GLenum primitiveOf(ShapeKind kind) {
    switch (kind) {
    case ShapeKind::Lines:
        return GL_LINES;
    case ShapeKind::Triangles:
        return GL_TRIANGLES;
    case ShapeKind::Quads:
        return GL_QUADS;
    case ShapeKind::Polygon:
    default:
        return GL_POLYGON;
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

    glPushMatrix();
    glScalef(scale, scale, scale);
    glTranslatef(-shape.x * pull, -shape.y * pull, 0.0f);
    glTranslatef(shape.x, shape.y, 0.0f);
    glRotatef(shape.angle, 0.0f, 0.0f, 1.0f);
    glBegin(primitiveOf(shape.kind));
    const bool perVertexColours = shape.colours.size() > 1;
    if (shape.colours.size() == 1) {
        glColor3f(shape.colours[0].r, shape.colours[0].g, shape.colours[0].b);
    }
    for (std::size_t i = 0; i < shape.vertices.size(); ++i) {
        if (perVertexColours) {
            glColor3f(shape.colours[i].r, shape.colours[i].g, shape.colours[i].b);
        }
        glVertex2f(shape.vertices[i].x, shape.vertices[i].y);
    }
    glEnd();
    glPopMatrix();
}
