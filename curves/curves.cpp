// The replacement rules and starting figures of the four curves.
#include "curves/curves.h"

#include <cmath>

namespace {

constexpr float thirdTurn = 1.0471976f;        // pi/3
constexpr float eighthTurn = 0.7853982f;       // pi/4
constexpr float threeEighthsTurn = 2.3561945f; // 3pi/4
constexpr float quarterTurn = 1.5707964f;      // pi/2
constexpr Vec2 origin{0.0f, 0.0f};

Vec2 startOf(const Segment& segment) {
    return {segment.x0, segment.y0};
}
Vec2 endOf(const Segment& segment) {
    return {segment.x1, segment.y1};
}
Vec2 directionOf(const Segment& segment) {
    return {segment.x1 - segment.x0, segment.y1 - segment.y0};
}
Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
Vec2 operator*(Vec2 v, float factor) {
    return {v.x * factor, v.y * factor};
}
Vec2 operator/(Vec2 v, float divisor) {
    return {v.x / divisor, v.y / divisor};
}
Segment from(Vec2 start, Vec2 end) {
    return {start.x, start.y, end.x, end.y};
}
// Turns a vector counter-clockwise.
Vec2 turned(Vec2 v, float angle) {
    return rotatePoint(v, origin, angle);
}

// The unit upward segment that the arrowhead and the dragon grow from.
std::vector<Segment> unitUpwardSegment() {
    return {from({0.0f, 0.0f}, {0.0f, 1.0f})};
}

} // namespace

std::vector<Segment> HeighwayDragon::expandSegment(const Segment& segment) {
    // The scale is taken from the float-rounded root so the figure matches the production's.
    const double k = 1.0 / static_cast<double>(static_cast<float>(std::sqrt(2.0)));
    const Vec2 p = startOf(segment);
    const Vec2 q = endOf(segment);
    const Vec2 d = directionOf(segment);
    const Vec2 m{p.x + static_cast<float>(d.x * k), p.y + static_cast<float>(d.y * k)};
    const Vec2 apexFromStart = rotatePoint(m, p, eighthTurn);
    const Vec2 apexFromEnd = rotatePoint(m, p, threeEighthsTurn);
    // The second half runs backwards, from the end to the shared apex.
    return {from(p, apexFromStart), from(q, q + (apexFromEnd - p))};
}

std::vector<Segment> HeighwayDragon::initialSegments() const {
    return unitUpwardSegment();
}

std::vector<Segment> Arrowhead::expandSegment(const Segment& segment) {
    const Vec2 p = startOf(segment);
    const Vec2 h = directionOf(segment) * 0.5f;
    const Vec2 a = p + turned(h, turningAngle);
    const Vec2 b = a + h;
    // Alternating the bend from segment to segment, across passes too, makes the arrowhead.
    turningAngle = -turningAngle;
    return {from(p, a), from(a, b), from(b, endOf(segment))};
}

std::vector<Segment> Arrowhead::initialSegments() const {
    return unitUpwardSegment();
}

std::vector<Segment> Snowflake::expandSegment(const Segment& segment) {
    const Vec2 p = startOf(segment);
    const Vec2 e = directionOf(segment) / 3.0f;
    const Vec2 a = p + e;
    const Vec2 b = e + e + p;
    const Vec2 apex = a + turned(e, thirdTurn);
    return {from(p, a), from(a, apex), from(apex, b), from(b, endOf(segment))};
}

std::vector<Segment> Snowflake::initialSegments() const {
    // Clockwise, so the bumps raised on the left of each side point outwards.
    const Vec2 top = rotatePoint({1.0f, 0.0f}, origin, thirdTurn);
    return {from({1.0f, 0.0f}, origin), from(origin, top), from(top, {1.0f, 0.0f})};
}

std::vector<Segment> SFCustom::expandSegment(const Segment& segment) {
    const Vec2 p = startOf(segment);
    const Vec2 e = directionOf(segment) / 3.0f;
    const Vec2 a = p + e;
    const Vec2 h = e * 0.5f;
    const Vec2 nearRight = a + turned(h, -quarterTurn);
    const Vec2 nearLeft = a + turned(h, quarterTurn);
    const Vec2 farRight = nearRight + e;
    const Vec2 farLeft = nearLeft + e;
    const Vec2 m = (farRight + farLeft) * 0.5f;
    // The square across the middle third replaces it; the line resumes at the square's far side.
    return {from(p, a),
            from(nearRight, nearLeft),
            from(nearRight, farRight),
            from(nearLeft, farLeft),
            from(farRight, farLeft),
            from(m, endOf(segment))};
}

std::vector<Segment> SFCustom::initialSegments() const {
    return {from(origin, {1.5f, 0.0f})};
}
