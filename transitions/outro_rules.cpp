// Destination, flight-time and bend rules of the particle dissolves.
#include "transitions/outro_rules.h"

#include <algorithm>
#include <cmath>

#include "random/random.h"

namespace {

constexpr int gridCells = 5;
constexpr int fineSteps = 255;
constexpr int coarseSteps = 21;
constexpr float bendAngle = 1.0471976f; // 60 degrees

struct CellSize {
    int width;
    int height;
};

Vec2 pixel(int x, int y) {
    return {static_cast<float>(x), static_cast<float>(y)};
}

// k * T / steps for a fresh k below steps.
float steppedDuration(int steps, float time) {
    return static_cast<float>(Random::draw() % steps) / static_cast<float>(steps) * time;
}

} // namespace

Vec2 edgeTarget(int x, int y, int width, int height) {
    switch (Random::draw() % 4) {
    case 0:
        return pixel(x, 0);
    case 1:
        return pixel(width - 1, y);
    case 2:
        return pixel(x, height - 1);
    default:
        return pixel(0, y);
    }
}

Vec2 cornerTarget(int x, int y, int width, int height) {
    const int cornerY = y < height / 2 ? 0 : height - 1;
    const int cornerX = x > width / 2 ? width - 1 : 0;
    return pixel(cornerX, cornerY);
}

Vec2 leftEdgeTarget(int, int y, int, int) {
    return pixel(0, y);
}

Vec2 gridTarget(int x, int y, int width, int height) {
    // At least one pixel, so that a window narrower than the grid cannot divide by zero.
    static const CellSize cell{std::max(1, width / gridCells), std::max(1, height / gridCells)};
    return pixel(x / cell.width * cell.width + cell.width / 2,
                 y / cell.height * cell.height + cell.height / 2);
}

float randomDuration(float time) {
    return steppedDuration(fineSteps, time);
}

float coarseDuration(float time) {
    return steppedDuration(coarseSteps, time);
}

Vec2 bendControlPoint(Vec2 start, Vec2 end) {
    static const float cosine = std::cos(bendAngle);
    static const float sine = std::sin(bendAngle);
    const Vec2 half{(end.x - start.x) * 0.5f, (end.y - start.y) * 0.5f};
    const float side = Random::draw() % 2 == 1 ? 1.0f : -1.0f;
    return {start.x + (half.x * cosine - half.y * side * sine),
            start.y + (half.x * side * sine + half.y * cosine)};
}
