// The shared machinery of the recursive curves: point rotation, replacement passes and the
// curve Shape builder.
#include "curves/sf_curve.h"

#include <cmath>
#include <memory>

#include "curves/curves.h"

Vec2 rotatePoint(Vec2 point, Vec2 pivot, float angle) {
    const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
    const float dx = point.x - pivot.x;
    const float dy = point.y - pivot.y;
    return {c * dx - s * dy + pivot.x, s * dx + c * dy + pivot.y};
}

void SFCurve::step() {
    std::vector<Segment> next;
    for (const Segment& segment : segments) {
        const std::vector<Segment> replacement = expandSegment(segment);
        next.insert(next.end(), replacement.begin(), replacement.end());
    }
    segments = std::move(next);
}

Shape SFCurve::generate() {
    const std::vector<Segment> start = initialSegments();
    segments.insert(segments.end(), start.begin(), start.end());
    for (std::int32_t pass = 0; pass < iterations; ++pass) {
        step();
    }

    Shape shape;
    shape.kind = ShapeKind::Lines;
    shape.vertices.reserve(segments.size() * 2);
    for (const Segment& segment : segments) {
        shape.vertices.push_back({segment.x0, segment.y0});
        shape.vertices.push_back({segment.x1, segment.y1});
    }
    return shape;
}

namespace {

// A fresh curve object of the selected class, or none for an unknown type.
std::unique_ptr<SFCurve> makeCurve(CurveType curveType) {
    switch (curveType) {
    case curveHeighwayDragon:
        return std::make_unique<HeighwayDragon>();
    case curveArrowhead:
        return std::make_unique<Arrowhead>();
    case curveSnowflake:
        return std::make_unique<Snowflake>();
    case curveCustom:
        return std::make_unique<SFCustom>();
    default:
        return nullptr;
    }
}

} // namespace

Shape makeCurveShape(CurveType curveType, std::int32_t iterations, Vec2 start, Vec2 end,
                     float startAngle, float endAngle, float duration) {
    Shape shape;
    if (const std::unique_ptr<SFCurve> curve = makeCurve(curveType)) {
        curve->iterations = iterations;
        shape = curve->generate();
    }
    shape.x = start.x;
    shape.y = start.y;
    shape.routes.emplace_back(start, end, startAngle, endAngle, duration);
    return shape;
}
