// The reveal effect on an exactly set clock: its phases, its noise and its use of rand().
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>

#include "clock/demo_clock.h"
#include "shapes/builders.h"
#include "shapes/shape.h"
#include "text/credit_lines.h"
#include "text/lines.h"
#include "text/reveal.h"

namespace {

constexpr DemoClock::Ticks base = 5'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

// The noise that `source` shows when rand() has just been seeded with `seed`: one value per
// character, letters replaced, everything else kept.
std::string noiseAfterSeed(const std::string& source, bool upperCase, unsigned seed) {
    std::srand(seed);
    std::string noise = source;
    for (char& c : noise) {
        const char letter = static_cast<char>((upperCase ? 'A' : 'a') + std::rand() % 26);
        c = std::isalpha(static_cast<unsigned char>(c)) ? letter : c;
    }
    return noise;
}

// Reveals `source` once at `seconds` after the start on a line scrambling for 5 s.
std::string revealAt(double seconds, const std::string& source) {
    DemoClock::setManualTime(at(seconds));
    std::string display = "placeholder";
    updateRevealedText(makeCallbackShape(nullptr, nullptr, 5.0f), base, display, source, true);
    return display;
}

TEST(Reveal, NoiseWithOneRandPerCharacterBeforeTThenTrueTextUntilTPlusSevenThenNothing) {
    const std::string source = "GRAPHICS (IF ANY)";
    const std::string noise = noiseAfterSeed(source, true, 1234);
    const int drawAfterNoise = std::rand(); // the seeded sequence's 18th value
    for (const double seconds : {0.0, 4.999}) {
        std::srand(1234);
        const std::string shown = revealAt(seconds, source);
        EXPECT_EQ(shown, noise) << seconds << " s";
        EXPECT_EQ(std::rand(), drawAfterNoise) << "kept characters draw too";
    }
    std::srand(1234);
    EXPECT_EQ(revealAt(5.0, source), source);
    EXPECT_EQ(revealAt(12.0, source), source);
    EXPECT_EQ(revealAt(12.001, source), "");
    EXPECT_EQ(revealAt(0.0, source), noise) << "no draws once the noise is over";
    DemoClock::setSource(nullptr);
}

// One test drives all six lines, because each line's clock starts on its first update in the
// process and is never reset.
TEST(Reveal, EachCreditLineRunsOnItsOwnClockFromItsFirstUpdate) {
    // Titles scramble in capitals, names in small letters.
    const std::tuple<ShapeCallback, std::string&, const std::string&> lines[] = {
        {creditLineUpdates[0], shownCodeTitle, creditCodeTitle},
        {creditLineUpdates[1], shownCodeName, creditCodeName},
        {creditLineUpdates[2], shownMusicTitle, creditMusicTitle},
        {creditLineUpdates[3], shownMusicName, creditMusicName},
        {creditLineUpdates[4], shownGraphicsTitle, creditGraphicsTitle},
        {creditLineUpdates[5], shownGraphicsName, creditGraphicsName}};
    Shape shape = makeCallbackShape(nullptr, nullptr, 2.0f);
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        const auto& [update, shown, source] = lines[i];
        const std::string placeholder = shown;
        std::srand(5);
        DemoClock::setManualTime(at(100.0 * i)); // far past every earlier line's end
        update(&shape);
        EXPECT_EQ(shown, noiseAfterSeed(source, i % 2 == 0, 5)) << source;
        DemoClock::setManualTime(at(100.0 * i + 2.0));
        update(&shape);
        EXPECT_EQ(shown, source);
        shown = placeholder; // later tests read the placeholders
    }
    DemoClock::setSource(nullptr);
}

} // namespace
