// Timed motion segments: a point and an "angle" channel carried from start to end values.
#pragma once

#include <cstdint>

#include "clock/demo_clock.h"
#include "shapes/geometry.h"

// A route recomputes its current values from the present time on every update; nothing
// accumulates between calls, so it gives the same answer however often it is updated.
struct BaseRoute {
    virtual ~BaseRoute() = default;
    // Recomputes the current values for the present DemoClock time.
    void update() { updateAt(DemoClock::now()); }
    // The same for a given time: a caller moving many routes in one frame reads the clock once.
    virtual void updateAt(DemoClock::Ticks now) = 0;

    // Seconds since the route started, from a fresh DemoClock read.
    float elapsed() const { return DemoClock::secondsSince(startTicks); }
    // Starts the route at the present DemoClock time.
    void start() { startTicks = DemoClock::now(); }

    DemoClock::Ticks startTicks = 0;
    float duration = 0.0f;
    float startX = 0.0f, startY = 0.0f;
    float endX = 0.0f, endY = 0.0f;
    float currentX = 0.0f, currentY = 0.0f, currentAngle = 0.0f;
    float startAngle = 0.0f, endAngle = 0.0f;
    float deltaX = 0.0f, deltaY = 0.0f, deltaAngle = 0.0f;
};

// A straight route; it snaps to its end values within 0.03 s of its duration.
struct Route : BaseRoute {
    static constexpr float snapWindow = 0.03f;

    Route() = default;
    Route(Vec2 start, Vec2 end, float startAngle, float endAngle, float duration);
    void updateAt(DemoClock::Ticks now) override;
};

// A quadratic Bézier route; it snaps its point within 0.05 s of its duration.
struct QuadraticBezierRoute : BaseRoute {
    static constexpr float snapWindow = 0.05f;

    QuadraticBezierRoute(Vec2 start, Vec2 end, Vec2 control, float duration);
    void updateAt(DemoClock::Ticks now) override;

    float controlX = 0.0f, controlY = 0.0f;
    float controlAngle = 0.0f;
};

// A Scene's light: a straight route whose point is the light position and whose angle channel
// is the material shininess, with the material settings used while the Scene draws.
struct LightRoute {
    LightRoute() = default;
    LightRoute(Vec2 start, Vec2 end, float startShininess, float endShininess, float duration,
               const float (&colour)[4], std::uint32_t shadeModel, std::uint32_t materialParameter);

    Route route;
    std::uint32_t shadeModel = 0;
    std::uint32_t materialParameter = 0;
    float materialColour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};
