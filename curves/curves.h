// The four curves: Heighway dragon, Sierpinski arrowhead, Koch snowflake and the custom curve.
#pragma once

#include "curves/sf_curve.h"

class HeighwayDragon : public SFCurve {
  public:
    std::vector<Segment> expandSegment(const Segment& segment) override;
    std::vector<Segment> initialSegments() const override;
};

class Arrowhead : public SFCurve {
  public:
    std::vector<Segment> expandSegment(const Segment& segment) override;
    std::vector<Segment> initialSegments() const override;
    // Flips sign after every expanded segment and carries over between passes.
    float turningAngle = -1.0471976f;
};

class Snowflake : public SFCurve {
  public:
    std::vector<Segment> expandSegment(const Segment& segment) override;
    std::vector<Segment> initialSegments() const override;
};

// Keeps the outer thirds of every segment and sets a square across its middle third.
class SFCustom : public SFCurve {
  public:
    std::vector<Segment> expandSegment(const Segment& segment) override;
    std::vector<Segment> initialSegments() const override;
};
