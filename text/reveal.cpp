// The reveal effect: random letters of the line's shape, then the true text, then nothing.
#include "text/reveal.h"

#include <cctype>

#include "random/random.h"

namespace {

// The true text stands this long after the noise ends; the sum with the scramble time is taken in
// double precision.
constexpr double visibleSeconds = 7.0;

char randomLetter(bool upperCase) {
    const int offset = Random::draw() % 26;
    return static_cast<char>((upperCase ? 'A' : 'a') + offset);
}

} // namespace

std::string scrambleText(const Shape& shape, DemoClock::Ticks startTicks, const std::string& source,
                         bool upperCase) {
    const float elapsed = DemoClock::secondsSince(startTicks);
    if (elapsed >= shape.param) {
        return source;
    }
    // Every position draws a random number, kept ones too, so the sequence consumed depends only on
    // the line's length.
    std::string noise(source.size(), ' ');
    for (char& c : noise) {
        c = randomLetter(upperCase);
    }
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (!std::isalpha(static_cast<int>(static_cast<signed char>(source[i])))) {
            noise[i] = source[i];
        }
    }
    return noise;
}

void updateRevealedText(const Shape& shape, DemoClock::Ticks startTicks, std::string& display,
                        const std::string& source, bool upperCase) {
    const float elapsed = DemoClock::secondsSince(startTicks);
    if (static_cast<double>(shape.param) + visibleSeconds >= elapsed) {
        display = scrambleText(shape, startTicks, source, upperCase);
    } else {
        display.clear();
    }
}
