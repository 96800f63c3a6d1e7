// Mixing the score's notes into 16-bit stereo: every sample is the sum, in the score's order, of
// the notes sounding at it, so that a stretch comes out the same however the track is cut up.
#include "music/synthesiser.h"

#include <algorithm>

#include "music/instruments.h"
#include "music/score.h"

namespace Music {
namespace {

// Each instrument's share of the mix.
float instrumentGain(Instrument instrument) {
    switch (instrument) {
    case Instrument::Kick:
        return 0.65f;
    case Instrument::Snare:
        return 0.45f;
    case Instrument::Hat:
        return 0.22f;
    case Instrument::Crash:
        return 0.3f;
    case Instrument::Bass:
        return 0.3f;
    case Instrument::Pad:
        return 0.1f;
    case Instrument::Arp:
        return 0.13f;
    case Instrument::Stab:
        return 0.1f;
    }
    return 0.0f;
}

// The gain that brings the whole track to -16 LUFS.
constexpr float masterGain = 0.63f;

// Above `knee` the few loudest peaks (kick, bass and crash together) are bent smoothly towards
// `ceiling`, about -2.2 dBFS, so that no sample clips and the true peak stays below -1 dBTP even
// after the video's AAC encoder.
constexpr float knee = 0.55f;
constexpr float ceiling = 0.78f;

float limit(float value) {
    const float size = value < 0.0f ? -value : value;
    if (size <= knee) {
        return value;
    }
    const float over = size - knee;
    const float bent = knee + over / (1.0f + over / (ceiling - knee));
    return value < 0.0f ? -bent : bent;
}

// Rounds half away from zero to 16 bits.
std::int16_t toSample(float value) {
    const float scaled = limit(value * masterGain) * 32767.0f;
    return static_cast<std::int16_t>(scaled >= 0.0f ? scaled + 0.5f : scaled - 0.5f);
}

} // namespace

Synthesiser::Synthesiser() : notes_(score()) {
    // A note that starts on a rising sine and decays leaves a small offset; every other note of
    // an instrument played upside down cancels it. The pad's notes, which overlap the next of
    // the same pitch, keep theirs: its slow attack leaves next to none.
    bool inverted[instrumentCount] = {};
    for (Note& note : notes_) {
        longestNote_ = std::max(longestNote_, soundingFrames(note));
        bool& flip = inverted[static_cast<int>(note.instrument)];
        if (note.instrument != Instrument::Pad && flip) {
            note.level = -note.level;
        }
        flip = !flip;
    }
}

std::uint32_t Synthesiser::frames() const {
    return trackFrames;
}

std::size_t Synthesiser::render(std::uint32_t first, std::size_t count, std::int16_t* out) const {
    if (first >= trackFrames) {
        return 0;
    }
    const std::uint32_t end =
        first + static_cast<std::uint32_t>(std::min<std::size_t>(count, trackFrames - first));
    std::vector<float> mix(2 * static_cast<std::size_t>(end - first), 0.0f);
    const std::uint32_t earliest = first > longestNote_ ? first - longestNote_ : 0;
    auto note =
        std::lower_bound(notes_.begin(), notes_.end(), earliest,
                         [](const Note& n, std::uint32_t frame) { return n.start < frame; });
    for (; note != notes_.end() && note->start < end; ++note) {
        const std::uint32_t from = std::max(first, note->start);
        const std::uint32_t to = std::min(end, note->start + soundingFrames(*note));
        const float gain = instrumentGain(note->instrument) * note->level;
        const float left = gain * (note->pan > 0.0f ? 1.0f - note->pan : 1.0f);
        const float right = gain * (note->pan < 0.0f ? 1.0f + note->pan : 1.0f);
        for (std::uint32_t frame = from; frame < to; ++frame) {
            const Stereo value = sound(*note, frame - note->start);
            float* const slot = &mix[2 * static_cast<std::size_t>(frame - first)];
            slot[0] += value.left * left;
            slot[1] += value.right * right;
        }
    }
    for (std::size_t i = 0; i < mix.size(); ++i) {
        out[i] = toSample(mix[i]);
    }
    return end - first;
}

} // namespace Music
