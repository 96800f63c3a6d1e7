// The pattern table and the arrangement of the built-in soundtrack, and their expansion into notes.
#include "music/score.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace Music {
namespace {

// One bar of sixteen sixteenth notes per voice. Drums: 'x' a hit. Bass: 'x' the chord's root,
// 'o' the root an octave up, '5' its fifth, '-' the note before held on, '.' silence. Arpeggio:
// '0' to '3' the chord's tones from the bottom, '4' to '7' the same an octave up.
struct Groove {
    const char* kick;
    const char* snare;
    const char* hat;
    const char* bass;
    const char* arp;
};

enum GrooveName { Still, Verse, Steady, Build, Drive, Breakdown, Rise, Peak };

constexpr Groove grooves[] = {
    /* Still */ {"................", "................", "................", "x---------------",
                 "................"},
    /* Verse */
    {"................", "................", "..x...x...x...x.", "x--.x--.x--.x-o.",
     "0.1.2.3.4.3.2.1."},
    /* Steady */
    {"x.......x.......", "....x.......x...", "..x...x...x...x.", "x..x..x.x..x..o.",
     "0.2.4.2.1.3.5.3."},
    /* Build */
    {"x...x...x...x...", "....x...x.x.xxxx", "x.x.x.x.x.x.x.x.", "x.x.x.x.x.x.x.x.",
     "0246024602460246"},
    /* Drive */
    {"x...x...x...x...", "....x.......x...", "..x...x...x...x.", "x.x.x.x.x.x.x.x.",
     "0246424602464246"},
    /* Breakdown */
    {"................", "................", "................", "x-------x-------",
     "0.2.4.6.4.2.1.3."},
    /* Rise */
    {"x...x...x...x...", "x.x.x.x.xxxxxxxx", "................", "x.x.x.x.x.x.x.x.",
     "0246024602460246"},
    /* Peak */
    {"x...x...x...x...", "....x.......x...", "xxxxxxxxxxxxxxxx", "x.ox.ox.x.ox.o5.",
     "0246424602464246"},
};

// A chord: the bass's root and the pad's four tones.
struct Chord {
    char name;
    int root;
    int tones[4];
};

constexpr Chord chords[] = {
    {'A', 45, {57, 60, 64, 69}}, // A minor
    {'F', 41, {57, 60, 65, 69}}, // F major
    {'C', 48, {55, 60, 64, 67}}, // C major
    {'G', 43, {55, 59, 62, 67}}, // G major
    {'E', 40, {56, 59, 64, 68}}, // E major, leading back to A minor
    {'D', 38, {57, 62, 65, 69}}, // D minor
};

// How loud each voice plays, 0 for silent.
struct Levels {
    float drums;
    float bass;
    float pad;
    float arp;
};

// A stretch of the arrangement: `beats` long, one chord a bar from `chords` (repeated), an accent
// (crash, kick and a chord stab) on its first beat when `accent` is non-zero.
struct Section {
    int beats;
    GrooveName groove;
    const char* chords;
    Levels levels;
    float accent;
};

// The arrangement, following the Scenes: a quiet opening (Scene 1), growing through Scenes 2
// and 3 to the pull windows of Scene 4, which drive; a breakdown as Scene 4 closes, the peak on
// the scale windows of Scene 5, and the fade to a last A minor chord under Scene 6. Each section
// that opens a pulse window starts with an accent.
constexpr Section arrangement[] = {
    {16, Still, "AFCG", {0.0f, 0.0f, 0.45f, 0.0f}, 0.0f},
    {16, Still, "AFCG", {0.0f, 0.5f, 0.55f, 0.0f}, 0.0f},
    {32, Verse, "AFCG", {0.5f, 0.7f, 0.6f, 0.4f}, 0.0f},
    {48, Steady, "AFCGAFCGDFGE", {0.7f, 0.8f, 0.6f, 0.5f}, 0.0f},
    {16, Build, "FGEE", {0.8f, 0.8f, 0.6f, 0.5f}, 0.0f},
    {8, Drive, "AF", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f}, // the pull windows
    {8, Drive, "CG", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f},
    {8, Drive, "AF", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f},
    {8, Drive, "CG", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f},
    {8, Drive, "AF", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f},
    {8, Drive, "CG", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f},
    {8, Drive, "DE", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f},
    {17, Breakdown, "FCDE", {0.0f, 0.6f, 0.7f, 0.5f}, 0.0f},
    {8, Rise, "FG", {0.8f, 0.8f, 0.6f, 0.5f}, 0.0f},
    {8, Peak, "AF", {1.0f, 1.0f, 0.6f, 0.7f}, 1.0f}, // the scale windows
    {8, Peak, "CG", {1.0f, 1.0f, 0.6f, 0.7f}, 1.0f},
    {8, Peak, "AF", {1.0f, 1.0f, 0.6f, 0.7f}, 1.0f},
    {8, Peak, "CG", {1.0f, 1.0f, 0.6f, 0.7f}, 1.0f},
    {8, Peak, "DE", {1.0f, 1.0f, 0.6f, 0.7f}, 1.0f},
    {4, Peak, "F", {1.0f, 1.0f, 0.6f, 0.7f}, 1.0f},
    {5, Peak, "G", {1.0f, 1.0f, 0.6f, 0.7f}, 1.0f},
    {16, Drive, "AFCG", {0.9f, 0.9f, 0.5f, 0.6f}, 1.0f},
    {28, Verse, "AFCGDFGE", {0.4f, 0.6f, 0.55f, 0.4f}, 0.0f},
    {16, Still, "A", {0.0f, 0.6f, 0.6f, 0.0f}, 0.5f},
};

// The beats at which the accents fall: the first beat of each section with an accent.
constexpr int accentBeats[] = {128, 136, 144, 152, 160, 168, 176, 209,
                               217, 225, 233, 241, 249, 253, 258};
static_assert(std::size(accentBeats) == std::size(accentPositions));

constexpr std::uint32_t stepsPerBeat = 4;
constexpr std::uint32_t stepsPerBar = 16;
// 140 beats a minute: 18,900 frames a beat at 44.1 kHz.
constexpr std::uint32_t framesPerStep = 44100 * 60 / 140 / stepsPerBeat;

// Every accent opens a section that strikes one.
constexpr bool accentsOpenSections() {
    for (const int accent : accentBeats) {
        int beat = 0;
        bool found = false;
        for (const Section& section : arrangement) {
            found = found || (beat == accent && section.accent > 0.0f);
            beat += section.beats;
        }
        if (!found) {
            return false;
        }
    }
    return true;
}
static_assert(accentsOpenSections());

const Chord& chordNamed(char name) {
    for (const Chord& chord : chords) {
        if (chord.name == name) {
            return chord;
        }
    }
    return chords[0];
}

// The notes of one section, which begins at sixteenth `first`.
void addSection(const Section& section, std::uint32_t first, std::vector<Note>& notes) {
    const Groove& groove = grooves[section.groove];
    const std::uint32_t end = first + section.beats * stepsPerBeat;
    const std::size_t chordCount = std::char_traits<char>::length(section.chords);
    for (std::uint32_t step = first; step < end; ++step) {
        const std::uint32_t inSection = step - first;
        const std::uint32_t inBar = inSection % stepsPerBar;
        const Chord& chord = chordNamed(section.chords[inSection / stepsPerBar % chordCount]);
        const std::uint32_t frame = stepFrame(step);
        const auto until = [frame](std::uint32_t laterStep) {
            return stepFrame(laterStep) - frame;
        };
        const auto add = [&](Instrument instrument, int pitch, std::uint32_t length, float level,
                             float pan) {
            if (level > 0.0f) {
                notes.push_back(
                    {frame, length, instrument, static_cast<std::uint8_t>(pitch), level, pan});
            }
        };
        const Levels& levels = section.levels;
        if (groove.kick[inBar] == 'x') {
            add(Instrument::Kick, 0, 0, levels.drums, 0.0f);
        }
        if (groove.snare[inBar] == 'x') {
            add(Instrument::Snare, 0, 0, levels.drums, -0.15f);
        }
        if (groove.hat[inBar] == 'x') {
            add(Instrument::Hat, 0, 0, levels.drums, 0.4f);
        }
        const char bass = groove.bass[inBar];
        if (bass == 'x' || bass == 'o' || bass == '5') {
            std::uint32_t held = 1;
            while (inBar + held < stepsPerBar && step + held < end &&
                   groove.bass[inBar + held] == '-') {
                ++held;
            }
            const int interval = bass == 'o' ? 12 : bass == '5' ? 7 : 0;
            add(Instrument::Bass, chord.root + interval, until(step + held), levels.bass, 0.0f);
        }
        const char arp = groove.arp[inBar];
        if (arp >= '0' && arp <= '7') {
            const int index = arp - '0';
            const float pan = inBar % 2 == 0 ? -0.45f : 0.45f; // from side to side
            add(Instrument::Arp, chord.tones[index % 4] + 12 * (1 + index / 4), until(step + 1),
                levels.arp, pan);
        }
        if (inBar == 0) {
            const std::uint32_t barEnd = std::min(step + stepsPerBar, end);
            for (const int tone : chord.tones) {
                add(Instrument::Pad, tone, until(barEnd), levels.pad, 0.0f);
            }
        }
        if (inSection == 0 && section.accent > 0.0f) {
            add(Instrument::Crash, 0, 0, section.accent, 0.0f);
            for (int k = 1; k < 4; ++k) {
                add(Instrument::Stab, chord.tones[k] + 12, 0, section.accent, 0.0f);
            }
            if (groove.kick[0] != 'x' || levels.drums == 0.0f) {
                add(Instrument::Kick, 0, 0, section.accent, 0.0f);
            }
        }
    }
}

} // namespace

std::uint32_t stepFrame(std::uint32_t step) {
    std::uint32_t fromStep = 0;
    std::uint32_t fromFrame = 0;
    for (std::size_t i = 0; i < std::size(accentBeats); ++i) {
        const std::uint32_t toStep = accentBeats[i] * stepsPerBeat;
        const std::uint32_t toFrame = accentFrame(accentPositions[i]);
        if (step < toStep) {
            const std::uint64_t spread = static_cast<std::uint64_t>(toFrame - fromFrame);
            return fromFrame +
                   static_cast<std::uint32_t>(spread * (step - fromStep) / (toStep - fromStep));
        }
        fromStep = toStep;
        fromFrame = toFrame;
    }
    return fromFrame + (step - fromStep) * framesPerStep;
}

std::vector<Note> score() {
    std::vector<Note> notes;
    std::uint32_t step = 0;
    for (const Section& section : arrangement) {
        addSection(section, step, notes);
        step += section.beats * stepsPerBeat;
    }
    std::stable_sort(notes.begin(), notes.end(),
                     [](const Note& a, const Note& b) { return a.start < b.start; });
    return notes;
}

} // namespace Music
