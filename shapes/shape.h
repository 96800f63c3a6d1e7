// The Shape: one animated drawable of a Scene, moved along its chain of routes.
#pragma once

#include <cstdint>
#include <vector>

#include "shapes/geometry.h"
#include "shapes/route.h"

enum class ShapeKind : std::uint32_t {
    Lines = 0,     // GL_LINES: each pair of vertices is one segment
    Triangles = 1, // GL_TRIANGLES
    Quads = 2,     // GL_QUADS
    Polygon = 3,   // GL_POLYGON, filled as a fan from the first vertex
    Callback = 4,  // drawn and animated by its two callbacks alone
};

struct Shape;
using ShapeCallback = void (*)(Shape*);

// A plain value: copies are deep and share nothing. Shapes of kinds 0 to 3 need at least one
// route; callback Shapes need both callbacks and nothing else.
struct Shape {
    ShapeKind kind = ShapeKind::Lines;
    std::vector<Vec2> vertices;
    std::vector<Colour> colours; // none: current GL colour; one: whole Shape; more: per vertex
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f; // degrees, counter-clockwise
    std::vector<Route> routes;
    std::uint32_t routeIndex = 0;
    ShapeCallback drawCallback = nullptr;
    ShapeCallback updateCallback = nullptr;
    float param = 0.0f; // free for callbacks and scene code
};

// One frame of motion. A callback Shape runs its update callback. Otherwise the current route
// moves the Shape; a route found over hands over to the next one, which starts now, and the
// Shape stays where it is in that frame. After the last route the Shape keeps its place.
void stepShape(Shape& shape);
