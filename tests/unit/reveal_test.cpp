// The reveal effect on an exactly set clock: its phases, its noise and its random draws.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "random/random.h"
#include "shapes/builders.h"
#include "text/reveal.h"

namespace {

TEST(Reveal, NoiseWithOneDrawPerCharacterWhileBelowTThenTheTextUpToTPlusSevenThenNothing) {
    const std::string source = "GRAPHICS (IF ANY)";
    std::string noise = source; // one draw per character; letters become capitals, the rest stay
    Random::seed(1234);
    for (char& c : noise) {
        const char letter = static_cast<char>('A' + Random::draw() % 26);
        c = std::isalpha(static_cast<unsigned char>(c)) ? letter : c;
    }
    const int drawAfterNoise = Random::draw(), firstDraw = (Random::seed(1234), Random::draw());
    constexpr DemoClock::Ticks base = 5'000'000'000;
    const auto revealAt = [&](double seconds) { // on a line that scrambles for 5 s
        Random::seed(1234);
        DemoClock::setManualTime(base + static_cast<DemoClock::Ticks>(seconds * 1e7 + 0.5));
        std::string shown = "placeholder";
        updateRevealedText(makeCallbackShape(nullptr, nullptr, 5.0f), base, shown, source, true);
        return shown;
    };
    EXPECT_EQ(revealAt(4.999), noise);
    EXPECT_EQ(Random::draw(), drawAfterNoise) << "kept characters draw too";
    EXPECT_EQ(revealAt(5.0), source);
    EXPECT_EQ(Random::draw(), firstDraw) << "the true text draws nothing";
    EXPECT_EQ(revealAt(12.0), source);
    EXPECT_EQ(revealAt(12.001), "");
    DemoClock::setSource(nullptr);
}

} // namespace
