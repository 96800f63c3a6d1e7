// Recursive curves grown by segment replacement, and the curve Shape builder.
#pragma once

#include <cstdint>
#include <vector>

#include "shapes/geometry.h"
#include "shapes/shape.h"

// One directed straight piece of a curve.
struct Segment {
    float x0 = 0.0f, y0 = 0.0f; // start
    float x1 = 0.0f, y1 = 0.0f; // end
};

// Selects the curve of makeCurveShape; other values make no curve.
using CurveType = std::int32_t;
constexpr CurveType curveHeighwayDragon = 0;
constexpr CurveType curveArrowhead = 1;
constexpr CurveType curveSnowflake = 2;
constexpr CurveType curveCustom = 3;

// Turns `point` counter-clockwise about `pivot` by `angle` radians; the cosine and sine are taken
// in double precision and rounded to float, the rest is float arithmetic.
Vec2 rotatePoint(Vec2 point, Vec2 pivot, float angle);

class SFCurve {
  public:
    virtual ~SFCurve() = default;
    // The replacement of one segment, in drawing order.
    virtual std::vector<Segment> expandSegment(const Segment& segment) = 0;
    // The starting figure.
    virtual std::vector<Segment> initialSegments() const = 0;

    // One replacement pass over every segment.
    void step();
    // Appends the starting figure, runs `iterations` passes and returns the segments as a line
    // Shape: start and end point of every segment in order. Call once per curve object.
    Shape generate();

    std::vector<Segment> segments;
    std::int32_t iterations = 0;
};

// A curve of the given type as a line Shape without colours, placed at `start` and carried with
// one straight route from (start, startAngle) to (end, endAngle) over `duration` seconds.
// A type outside 0 to 3 gives a Shape with the route and no vertices.
Shape makeCurveShape(CurveType curveType, std::int32_t iterations, Vec2 start, Vec2 end,
                     float startAngle, float endAngle, float duration);
