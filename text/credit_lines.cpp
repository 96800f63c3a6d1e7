// The six revealed credit lines of Scene 4, each on its own reveal clock.
#include "text/credit_lines.h"

#include <array>
#include <optional>

#include "text/lines.h"
#include "text/reveal.h"
#include "text/text.h"

namespace {

struct CreditLine {
    std::string* shown;
    const std::string* source;
    bool upperCase; // titles flicker in capitals, handles in small letters
    float y;
};

constexpr float creditX = -0.55f;
constexpr float titleY = 0.51f;
constexpr float handleY = 0.41f; // a handle sits 0.1 under its title

constexpr std::array<CreditLine, creditLineCount> creditLines{{
    {&shownCodeTitle, &creditCodeTitle, true, titleY},
    {&shownCodeName, &creditCodeName, false, handleY},
    {&shownMusicTitle, &creditMusicTitle, true, titleY},
    {&shownMusicName, &creditMusicName, false, handleY},
    {&shownGraphicsTitle, &creditGraphicsTitle, true, titleY},
    {&shownGraphicsName, &creditGraphicsName, false, handleY},
}};

// The tick of each line's first update, set once per run.
static struct { std::array<std::optional<DemoClock::Ticks>, creditLineCount> revealClocks; } state;

template <int row> void revealCreditLine(Shape* shape) {
    std::optional<DemoClock::Ticks>& revealClock = state.revealClocks[row];
    if (!revealClock) {
        revealClock = DemoClock::now();
    }
    const CreditLine& line = creditLines[row];
    updateRevealedText(*shape, *revealClock, *line.shown, *line.source, line.upperCase);
}

template <int row> void drawCreditLine(Shape*) {
    const CreditLine& line = creditLines[row];
    drawText(*line.shown, timesRoman24(), creditX, line.y);
}

} // namespace

const ShapeCallback creditLineUpdates[creditLineCount] = {
    revealCreditLine<0>, revealCreditLine<1>, revealCreditLine<2>,
    revealCreditLine<3>, revealCreditLine<4>, revealCreditLine<5>,
};

const ShapeCallback creditLineDraws[creditLineCount] = {
    drawCreditLine<0>, drawCreditLine<1>, drawCreditLine<2>,
    drawCreditLine<3>, drawCreditLine<4>, drawCreditLine<5>,
};
