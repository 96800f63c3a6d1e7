// Linear and quadratic Bézier route updates, and the light route's construction.
#include "shapes/route.h"

#include <cmath>

Route::Route(Vec2 start, Vec2 end, float startAngle_, float endAngle_, float duration_) {
    duration = duration_;
    startX = start.x;
    startY = start.y;
    endX = end.x;
    endY = end.y;
    startAngle = startAngle_;
    endAngle = endAngle_;
    deltaX = endX - startX;
    deltaY = endY - startY;
    deltaAngle = endAngle - startAngle;
}

void Route::updateAt(DemoClock::Ticks now) {
    const float t = DemoClock::secondsBetween(startTicks, now);
    const float u = t / duration; // not clamped: callers stop updating once t passes duration
    currentX = startX + deltaX * u;
    currentY = startY + deltaY * u;
    currentAngle = startAngle + deltaAngle * u;
    if (std::fabs(t - duration) < snapWindow) {
        currentX = endX;
        currentY = endY;
        currentAngle = endAngle;
    }
}

QuadraticBezierRoute::QuadraticBezierRoute(Vec2 start, Vec2 end, Vec2 control, float duration_) {
    duration = duration_;
    startX = start.x;
    startY = start.y;
    endX = end.x;
    endY = end.y;
    controlX = control.x;
    controlY = control.y;
}

void QuadraticBezierRoute::updateAt(DemoClock::Ticks now) {
    const float t = DemoClock::secondsBetween(startTicks, now);
    const float u = t / duration;
    const float w0 = (1.0f - u) * (1.0f - u);
    const float w1 = 2.0f * u * (1.0f - u);
    const float w2 = u * u;
    currentX = w0 * startX + w1 * controlX + w2 * endX;
    currentY = w0 * startY + w1 * controlY + w2 * endY;
    currentAngle = w0 * startAngle + w1 * controlAngle + w2 * endAngle;
    if (std::fabs(t - duration) < snapWindow) {
        currentX = endX;
        currentY = endY;
    }
}

LightRoute::LightRoute(Vec2 start, Vec2 end, float startShininess, float endShininess,
                       float duration, const float (&colour)[4], std::uint32_t shadeModel_,
                       std::uint32_t materialParameter_)
    : route(start, end, startShininess, endShininess, duration), shadeModel(shadeModel_),
      materialParameter(materialParameter_) {
    for (int i = 0; i < 4; ++i) {
        materialColour[i] = colour[i];
    }
}
