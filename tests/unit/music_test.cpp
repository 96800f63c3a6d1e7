// The built-in soundtrack's synthesis: the same samples however the track is read, notes that
// start and end in silence without a step, and the source the soundtrack module plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/built_in_track.h"
#include "music/instruments.h"
#include "music/synthesiser.h"

namespace {

constexpr double sampleRate = 44100.0;

// The whole track read through the soundtrack module's interface in `pieceBytes` pieces.
std::vector<std::uint8_t> readWhole(std::size_t pieceBytes) {
    BuiltInTrack track;
    std::vector<std::uint8_t> whole, piece;
    while (!track.ended()) {
        track.read(pieceBytes, piece);
        whole.insert(whole.end(), piece.begin(), piece.end());
    }
    track.read(pieceBytes, piece);
    EXPECT_TRUE(piece.empty()) << "read past the end";
    return whole;
}

// 50 ms pieces as the feeder asks for them, against pieces of a prime number of frames plus a
// stray byte, straddling every note's start differently: one float order, the same bits.
TEST(BuiltInSoundtrack, GivesTheSameBytesHoweverItIsReadAndSaysItsFormatAndLength) {
    BuiltInTrack track;
    EXPECT_EQ(track.rate(), 44100u);
    EXPECT_EQ(track.channels(), 2u);
    EXPECT_EQ(track.byteRate(), 176400u);
    const std::vector<std::uint8_t> feederPieces = readWhole(8820);
    const std::vector<std::uint8_t> oddPieces = readWhole(4 * 4099 + 1);
    ASSERT_EQ(feederPieces.size(), oddPieces.size());
    EXPECT_TRUE(feederPieces == oddPieces);
    EXPECT_EQ(track.scanLength(), feederPieces.size());
    EXPECT_GT(feederPieces.size(), 137u * 176400) << "shorter than the production";

    // The samples are 16-bit little-endian, left before right, as the synthesiser made them.
    const Music::Synthesiser synthesiser;
    const std::uint32_t first = 2'403'000; // an accent's kick: loud, and of either sign
    std::vector<std::int16_t> samples(2 * 100);
    synthesiser.render(first, 100, samples.data());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const std::size_t at = 4 * std::size_t{first} + 2 * i;
        EXPECT_EQ(static_cast<std::int16_t>(feederPieces[at] | feederPieces[at + 1] << 8),
                  samples[i]);
    }
}

struct Voice {
    Music::Instrument instrument;
    int pitch;
    double highestHertz; // of its highest harmonic; 0 for noise
};

// Every instrument, at the bottom and the top of what the score gives it.
const Voice voices[] = {
    {Music::Instrument::Kick, 0, 160.0},      {Music::Instrument::Snare, 0, 0.0},
    {Music::Instrument::Hat, 0, 0.0},         {Music::Instrument::Crash, 0, 0.0},
    {Music::Instrument::Bass, 38, 3 * 73.4},  {Music::Instrument::Bass, 60, 3 * 261.7},
    {Music::Instrument::Pad, 55, 2 * 196.0},  {Music::Instrument::Pad, 69, 2 * 440.0},
    {Music::Instrument::Arp, 67, 5 * 392.0},  {Music::Instrument::Arp, 93, 5 * 1760.0},
    {Music::Instrument::Stab, 67, 5 * 784.0}, {Music::Instrument::Stab, 81, 5 * 880.1},
};

// A click is a step: a note that starts or ends on a non-zero sample, or moves from one sample to
// the next faster than its highest harmonic can (Bernstein: |s'| <= 2 pi f |s|max).
TEST(Instruments, EveryNoteStartsAndEndsInSilenceAndMovesNoFasterThanItsHarmonics) {
    for (const Voice& voice : voices) {
        SCOPED_TRACE(testing::Message() << "instrument " << static_cast<int>(voice.instrument)
                                        << ", pitch " << voice.pitch);
        Music::Note note;
        note.instrument = voice.instrument;
        note.pitch = static_cast<std::uint8_t>(voice.pitch);
        note.length = 4725; // a sixteenth at 140 beats a minute
        const std::uint32_t frames = Music::soundingFrames(note);
        ASSERT_GT(frames, 1000u);
        float peak = 0.0f, largestStep = 0.0f;
        Music::Stereo before = Music::sound(note, 0);
        for (std::uint32_t n = 1; n < frames; ++n) {
            const Music::Stereo now = Music::sound(note, n);
            peak = std::max({peak, std::abs(now.left), std::abs(now.right)});
            largestStep = std::max({largestStep, std::abs(now.left - before.left),
                                    std::abs(now.right - before.right)});
            before = now;
        }
        ASSERT_GT(peak, 0.1f);
        const Music::Stereo first = Music::sound(note, 0);
        const Music::Stereo last = Music::sound(note, frames - 1);
        for (const float edge : {first.left, first.right, last.left, last.right}) {
            EXPECT_LT(std::abs(edge), 0.01f * peak);
        }
        const Music::Stereo after = Music::sound(note, frames + 100);
        EXPECT_EQ(after.left, 0.0f);
        EXPECT_EQ(after.right, 0.0f);
        if (voice.highestHertz > 0.0) {
            EXPECT_LE(largestStep, 1.2 * peak * 2 * M_PI * voice.highestHertz / sampleRate);
        }
    }
}

// A held A above middle C sounds at 440 Hz: its two voices, a few cents either side of it, cross
// zero twice a period (their second harmonic is too weak to add crossings).
TEST(Instruments, ANoteSoundsAtItsPitch) {
    Music::Note note;
    note.instrument = Music::Instrument::Pad;
    note.pitch = 69;
    note.length = 2 * 44100;
    int crossings[2] = {};
    Music::Stereo before = Music::sound(note, 44100);
    for (std::uint32_t n = 44101; n < 2 * 44100; ++n) {
        const Music::Stereo now = Music::sound(note, n);
        crossings[0] += (before.left < 0) != (now.left < 0);
        crossings[1] += (before.right < 0) != (now.right < 0);
        before = now;
    }
    EXPECT_NEAR((crossings[0] + crossings[1]) / 4.0, 440.0, 1.5);
    EXPECT_LT(crossings[0], crossings[1]) << "the left voice is the lower";
}

} // namespace
