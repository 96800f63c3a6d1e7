// The reveal effect: a line flickers as random letters, then stands, then disappears.
#pragma once

#include <string>

#include "clock/demo_clock.h"
#include "shapes/shape.h"

// While e < T (the Shape's param): noise of the source's length, one Random::draw() per character,
// letters replaced by 'A'-'Z' (upper) or 'a'-'z', every non-letter kept. From then on the source.
std::string scrambleText(const Shape& shape, DemoClock::Ticks startTicks, const std::string& source,
                         bool upperCase);

// Writes the scrambled or true text while e <= T + 7.0, and the empty string after.
void updateRevealedText(const Shape& shape, DemoClock::Ticks startTicks, std::string& display,
                        const std::string& source, bool upperCase);
