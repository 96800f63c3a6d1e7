// The reveal effect on an exactly set clock: its phases, its noise and its use of rand().
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/demo_clock.h"
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

constexpr float scrambleSeconds = 2.0f;

// The next `count` values of rand() after seeding it with `seed`.
std::vector<int> randSequence(unsigned seed, std::size_t count) {
    std::srand(seed);
    std::vector<int> values(count);
    std::generate(values.begin(), values.end(), [] { return std::rand(); });
    return values;
}

bool isLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// The noise that `source` shows when rand() has just been seeded with `seed`: one value per
// character, letters replaced, everything else kept.
std::string noiseAfterSeed(const std::string& source, bool upperCase, unsigned seed) {
    const std::vector<int> values = randSequence(seed, source.size());
    std::string noise = source;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (isLetter(source[i])) {
            noise[i] = static_cast<char>((upperCase ? 'A' : 'a') + values[i] % 26);
        }
    }
    return noise;
}

class RevealTest : public testing::Test {
  protected:
    void SetUp() override { DemoClock::setManualTime(base); }
    void TearDown() override { DemoClock::setSource(nullptr); }

    // Reveals `source` once at `seconds` after the start, starting from a placeholder.
    std::string revealAt(double seconds, const std::string& source, bool upperCase = true) {
        DemoClock::setManualTime(at(seconds));
        std::string display = "placeholder";
        updateRevealedText(line, base, display, source, upperCase);
        return display;
    }

    const Shape line = makeCallbackShape(nullptr, nullptr, scrambleSeconds);
};

TEST_F(RevealTest, NoiseUntilTheScrambleTimeThenTrueTextUntilSevenSecondsLaterThenNothing) {
    const std::string source = "MUSIC";
    const std::string noise = noiseAfterSeed(source, true, 7);
    ASSERT_NE(noise, source);
    for (const double seconds : {0.0, 1.0, 1.999}) {
        std::srand(7);
        EXPECT_EQ(revealAt(seconds, source), noise) << seconds << " s";
    }
    EXPECT_EQ(revealAt(2.0, source), source); // e == T is already past the noise
    EXPECT_EQ(revealAt(5.0, source), source);
    EXPECT_EQ(revealAt(9.0, source), source); // e == T + 7 is still visible
    EXPECT_EQ(revealAt(9.001, source), "");
    EXPECT_EQ(revealAt(600.0, source), "");
}

TEST_F(RevealTest, ThePhasesFollowTheShapesScrambleTime) {
    const Shape slowLine = makeCallbackShape(nullptr, nullptr, 5.0f);
    std::string display;
    std::srand(3);
    DemoClock::setManualTime(at(4.0));
    updateRevealedText(slowLine, base, display, "CODE", true);
    EXPECT_EQ(display, noiseAfterSeed("CODE", true, 3));
    DemoClock::setManualTime(at(11.5));
    updateRevealedText(slowLine, base, display, "CODE", true);
    EXPECT_EQ(display, "CODE");
    DemoClock::setManualTime(at(12.5));
    updateRevealedText(slowLine, base, display, "CODE", true);
    EXPECT_EQ(display, "");
}

TEST_F(RevealTest, NoiseKeepsNonLettersAndDrawsLettersOfTheChosenCase) {
    const auto capitals = [](const std::string& text) {
        return std::count_if(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    };
    std::srand(11);
    const std::string title = revealAt(0.5, "GRAPHICS (IF ANY)", true);
    EXPECT_EQ(title, noiseAfterSeed("GRAPHICS (IF ANY)", true, 11));
    ASSERT_EQ(title.size(), 17u);
    EXPECT_EQ(title[8], ' ');
    EXPECT_EQ(title[9], '(');
    EXPECT_EQ(title[12], ' ');
    EXPECT_EQ(title[16], ')');
    EXPECT_EQ(capitals(title), 13);

    std::srand(11);
    const std::string handle = revealAt(0.5, "quorl", false);
    EXPECT_EQ(handle, noiseAfterSeed("quorl", false, 11));
    EXPECT_NE(handle, "quorl");
    EXPECT_TRUE(std::all_of(handle.begin(), handle.end(), [](char c) {
        return c >= 'a' && c <= 'z';
    })) << handle;

    // The case comes from the flag, not from the source letters.
    std::srand(11);
    const std::string name = revealAt(0.5, "Semprovant", true);
    EXPECT_EQ(name.size(), 10u);
    EXPECT_EQ(capitals(name), 10) << name;
}

TEST_F(RevealTest, EveryCharacterDrawsOneRandValueWhileScramblingAndNoneAfter) {
    const std::string source = "GRAPHICS (IF ANY)";
    const std::vector<int> sequence = randSequence(1234, source.size() + 1);
    const std::string noise = noiseAfterSeed(source, true, 1234);

    std::srand(1234);
    EXPECT_EQ(revealAt(1.0, source), noise);
    EXPECT_EQ(std::rand(), sequence[source.size()]); // kept characters drew a value too

    std::srand(1234);
    EXPECT_EQ(revealAt(3.0, source), source);
    EXPECT_EQ(std::rand(), sequence[0]);
    std::srand(1234);
    EXPECT_EQ(revealAt(10.0, source), "");
    EXPECT_EQ(std::rand(), sequence[0]);
}

TEST_F(RevealTest, LinesWithoutLettersStandFromTheStartAndEmptyLinesStayEmpty) {
    const std::string punctuation = " (2022), ";
    const std::vector<int> sequence = randSequence(99, punctuation.size() + 1);
    std::srand(99);
    EXPECT_EQ(revealAt(0.0, punctuation), punctuation);
    EXPECT_EQ(std::rand(), sequence[punctuation.size()]);

    for (const double seconds : {0.0, 1.0, 2.0, 9.0, 20.0}) {
        EXPECT_EQ(revealAt(seconds, ""), "") << seconds << " s";
    }
}

// The noise decision and the true-text decision each read the clock.
DemoClock::Ticks steppingTicks[2];
int steppingReads = 0;
DemoClock::Ticks readSteppingClock() {
    return steppingTicks[std::min(steppingReads++, 1)];
}

TEST_F(RevealTest, ScramblingReadsTheClockAgain) {
    steppingTicks[0] = at(1.99);
    steppingTicks[1] = at(2.0);
    steppingReads = 0;
    DemoClock::setSource(readSteppingClock);
    std::string display;
    updateRevealedText(line, base, display, "CODE", true);
    EXPECT_EQ(display, "CODE"); // the second read is already past the noise
    EXPECT_EQ(steppingReads, 2);
}

struct CreditRow {
    ShapeCallback update;
    std::string& shown;
    const std::string& source;
    bool upperCase;
};

// One test drives all six lines, because each line's clock starts on its first update in the
// process and is never reset.
TEST_F(RevealTest, EachCreditLineRunsOnItsOwnClockFromItsFirstUpdate) {
    const CreditRow rows[] = {
        {updateShownCodeTitle, shownCodeTitle, creditCodeTitle, true},
        {updateShownCodeName, shownCodeName, creditCodeName, false},
        {updateShownMusicTitle, shownMusicTitle, creditMusicTitle, true},
        {updateShownMusicName, shownMusicName, creditMusicName, false},
        {updateShownGraphicsTitle, shownGraphicsTitle, creditGraphicsTitle, true},
        {updateShownGraphicsName, shownGraphicsName, creditGraphicsName, false},
    };
    const std::vector<std::string> placeholders{shownCodeTitle,     shownCodeName,
                                                shownMusicTitle,    shownMusicName,
                                                shownGraphicsTitle, shownGraphicsName};
    Shape shape = makeCallbackShape(nullptr, nullptr, scrambleSeconds);
    double firstUpdate = 0.0;
    for (const CreditRow& row : rows) {
        SCOPED_TRACE(row.source);
        firstUpdate += 100.0; // far past every earlier line's end
        std::srand(5);
        DemoClock::setManualTime(at(firstUpdate));
        row.update(&shape);
        EXPECT_EQ(row.shown, noiseAfterSeed(row.source, row.upperCase, 5));
        std::srand(6);
        DemoClock::setManualTime(at(firstUpdate + 1.5));
        row.update(&shape);
        EXPECT_EQ(row.shown, noiseAfterSeed(row.source, row.upperCase, 6));
        DemoClock::setManualTime(at(firstUpdate + 2.0));
        row.update(&shape);
        EXPECT_EQ(row.shown, row.source);
        DemoClock::setManualTime(at(firstUpdate + 9.0));
        row.update(&shape);
        EXPECT_EQ(row.shown, row.source);
        DemoClock::setManualTime(at(firstUpdate + 9.5));
        row.update(&shape);
        EXPECT_EQ(row.shown, "");
    }
    // Later tests in this process read the placeholders.
    for (std::size_t i = 0; i < placeholders.size(); ++i) {
        rows[i].shown = placeholders[i];
    }
}

} // namespace
