// The six revealed credit lines of Scene 4, each on its own reveal clock.
#include "text/credit_lines.h"

#include <array>
#include <optional>

#include "text/lines.h"
#include "text/reveal.h"
#include "text/text.h"

namespace {

enum CreditRow : std::size_t {
    CodeTitle,
    CodeName,
    MusicTitle,
    MusicName,
    GraphicsTitle,
    GraphicsName
};

struct CreditLine {
    std::string* shown;
    const std::string* source;
    bool upperCase; // titles flicker in capitals, handles in small letters
    float y;
};

constexpr float creditX = -0.55f;
constexpr float titleY = 0.51f;
constexpr float handleY = 0.41f; // a handle sits 0.1 under its title

constexpr std::array<CreditLine, 6> creditLines{{
    {&shownCodeTitle, &creditCodeTitle, true, titleY},
    {&shownCodeName, &creditCodeName, false, handleY},
    {&shownMusicTitle, &creditMusicTitle, true, titleY},
    {&shownMusicName, &creditMusicName, false, handleY},
    {&shownGraphicsTitle, &creditGraphicsTitle, true, titleY},
    {&shownGraphicsName, &creditGraphicsName, false, handleY},
}};

// The tick of each line's first update, set once per run.
static struct { std::array<std::optional<DemoClock::Ticks>, 6> revealClocks; } state;

void revealCreditLine(Shape* shape, CreditRow row) {
    std::optional<DemoClock::Ticks>& revealClock = state.revealClocks[row];
    if (!revealClock) {
        revealClock = DemoClock::now();
    }
    const CreditLine& line = creditLines[row];
    updateRevealedText(*shape, *revealClock, *line.shown, *line.source, line.upperCase);
}

void drawCreditLine(CreditRow row) {
    const CreditLine& line = creditLines[row];
    drawText(*line.shown, timesRoman24(), creditX, line.y);
}

} // namespace

void updateShownCodeTitle(Shape* shape) {
    revealCreditLine(shape, CodeTitle);
}
void updateShownCodeName(Shape* shape) {
    revealCreditLine(shape, CodeName);
}
void updateShownMusicTitle(Shape* shape) {
    revealCreditLine(shape, MusicTitle);
}
void updateShownMusicName(Shape* shape) {
    revealCreditLine(shape, MusicName);
}
void updateShownGraphicsTitle(Shape* shape) {
    revealCreditLine(shape, GraphicsTitle);
}
void updateShownGraphicsName(Shape* shape) {
    revealCreditLine(shape, GraphicsName);
}

void drawShownCodeTitle(Shape*) {
    drawCreditLine(CodeTitle);
}
void drawShownCodeName(Shape*) {
    drawCreditLine(CodeName);
}
void drawShownMusicTitle(Shape*) {
    drawCreditLine(MusicTitle);
}
void drawShownMusicName(Shape*) {
    drawCreditLine(MusicName);
}
void drawShownGraphicsTitle(Shape*) {
    drawCreditLine(GraphicsTitle);
}
void drawShownGraphicsName(Shape*) {
    drawCreditLine(GraphicsName);
}
