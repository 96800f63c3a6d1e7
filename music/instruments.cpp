// The instruments: drums from swept sines and noise, bass, pad, arpeggio and chord stab from a few
// sine harmonics, each under a polynomial envelope.
#include "music/instruments.h"

#include "music/oscillators.h"

namespace Music {
namespace {

constexpr std::uint32_t frames(double seconds) {
    return static_cast<std::uint32_t>(seconds * sampleRate + 0.5);
}

// 2^(k/12) for k from 0 to 11: equal temperament without calling pow.
constexpr double semitoneRatios[12] = {
    1.0,
    1.0594630943592953,
    1.1224620483093730,
    1.1892071150027210,
    1.2599210498948732,
    1.3348398541700344,
    1.4142135623730951,
    1.4983070768766815,
    1.5874010519681994,
    1.6817928305074290,
    1.7817974362806785,
    1.8877486253633868,
};

// Voices detuned against each other, left and right, make the pad and the stab wide.
constexpr double detuneUp = 1.0029;
constexpr double detuneDown = 1.0 / detuneUp;

constexpr std::uint32_t kickFrames = frames(0.34);
constexpr std::uint32_t snareFrames = frames(0.2);
constexpr std::uint32_t hatFrames = frames(0.05);
constexpr std::uint32_t crashFrames = frames(2.2);
constexpr std::uint32_t stabFrames = frames(0.7);
constexpr std::uint32_t clickFree = frames(0.002); // the shortest attack: no step at a start
constexpr std::uint32_t bassRelease = frames(0.03);
constexpr std::uint32_t padAttack = frames(0.25);
constexpr std::uint32_t padRelease = frames(0.45);
constexpr std::uint32_t arpRelease = frames(0.12);

float progress(std::uint32_t n, std::uint32_t length) {
    return static_cast<float>(n) / static_cast<float>(length);
}

// Full while held, then down to silence over `release` frames.
float gate(const Note& note, std::uint32_t n, std::uint32_t release) {
    if (n < note.length) {
        return 1.0f;
    }
    return fall(progress(n - note.length, release), 1);
}

// A sine whose pitch falls from 158 Hz to 46 Hz: the phase is the integral of the frequency
// 46 + 112 (1 - x)^4, worked out in closed form so that any sample can be computed alone.
float kick(std::uint32_t n) {
    const double x = static_cast<double>(n) / kickFrames;
    const double rest = 1.0 - x;
    const double rest5 = rest * rest * rest * rest * rest;
    const double seconds = static_cast<double>(kickFrames) / sampleRate;
    const double turns = 46.0 * n / sampleRate + 112.0 * seconds * (1.0 - rest5) / 5.0;
    const double fraction = turns - static_cast<double>(static_cast<std::uint64_t>(turns));
    const Phase phase = static_cast<Phase>(fraction * 4294967296.0);
    return sine(phase) * fall(static_cast<float>(x), 2) * attack(n, clickFree);
}

float snare(std::uint32_t n) {
    const float x = progress(n, snareFrames);
    const float tone = sine(n * phaseStep(185.0)) * fall(x, 6);
    const float rattle = noise(n, 0x5A5A) * fall(x, 3);
    return (0.6f * tone + 0.7f * rattle) * attack(n, clickFree);
}

float hat(std::uint32_t n) {
    return brightNoise(n, 0x4A7) * fall(progress(n, hatFrames), 3) * attack(n, clickFree);
}

// Different noise on each side: a cymbal as wide as the stereo image.
Stereo crash(std::uint32_t n) {
    const float envelope = fall(progress(n, crashFrames), 3) * attack(n, clickFree);
    return {brightNoise(n, 0xC1) * envelope, brightNoise(n, 0xC2) * envelope};
}

// A softened sawtooth (three harmonics) over a sine an octave down.
float bass(const Note& note, std::uint32_t n) {
    const Phase step = phaseStep(pitchHertz(note.pitch));
    const Phase phase = n * step;
    const Phase sub = n * (step / 2);
    const float tone =
        sine(phase) + 0.45f * sine(2 * phase) + 0.2f * sine(3 * phase) + 0.8f * sine(sub);
    const float pluck = 0.65f + 0.35f * fall(progress(n, frames(0.25)), 2);
    return tone * pluck * attack(n, frames(0.006)) * gate(note, n, bassRelease);
}

// Two voices a few cents apart, one on each side, with a soft second harmonic.
Stereo pad(const Note& note, std::uint32_t n) {
    const double hertz = pitchHertz(note.pitch);
    const Phase left = n * phaseStep(hertz * detuneDown);
    const Phase right = n * phaseStep(hertz * detuneUp);
    const float envelope = attack(n, padAttack) * gate(note, n, padRelease);
    return {(sine(left) + 0.3f * sine(2 * left)) * envelope,
            (sine(right) + 0.3f * sine(2 * right)) * envelope};
}

// A square-ish tone (odd harmonics) plucked short.
float arp(const Note& note, std::uint32_t n) {
    const Phase phase = n * phaseStep(pitchHertz(note.pitch));
    const float tone = sine(phase) + 0.33f * sine(3 * phase) + 0.2f * sine(5 * phase);
    const float envelope = fall(progress(n, note.length + arpRelease), 2);
    return tone * envelope * attack(n, frames(0.003));
}

// A bright chord tone struck at an accent: five harmonics, detuned on the two sides.
Stereo stab(const Note& note, std::uint32_t n) {
    const double hertz = pitchHertz(note.pitch);
    const float envelope = fall(progress(n, stabFrames), 3) * attack(n, frames(0.003));
    Stereo out;
    const Phase left = n * phaseStep(hertz * detuneDown);
    const Phase right = n * phaseStep(hertz * detuneUp);
    for (std::uint32_t h = 1; h <= 5; ++h) {
        const float weight = 1.0f / static_cast<float>(h);
        out.left += weight * sine(h * left);
        out.right += weight * sine(h * right);
    }
    out.left *= envelope;
    out.right *= envelope;
    return out;
}

} // namespace

double pitchHertz(int pitch) {
    int above = pitch - 69;
    double hertz = 440.0;
    while (above < 0) {
        above += 12;
        hertz *= 0.5;
    }
    while (above >= 12) {
        above -= 12;
        hertz *= 2.0;
    }
    return hertz * semitoneRatios[above];
}

std::uint32_t soundingFrames(const Note& note) {
    switch (note.instrument) {
    case Instrument::Kick:
        return kickFrames;
    case Instrument::Snare:
        return snareFrames;
    case Instrument::Hat:
        return hatFrames;
    case Instrument::Crash:
        return crashFrames;
    case Instrument::Stab:
        return stabFrames;
    case Instrument::Bass:
        return note.length + bassRelease;
    case Instrument::Pad:
        return note.length + padRelease;
    case Instrument::Arp:
        return note.length + arpRelease;
    }
    return 0;
}

Stereo sound(const Note& note, std::uint32_t n) {
    switch (note.instrument) {
    case Instrument::Kick: {
        const float value = kick(n);
        return {value, value};
    }
    case Instrument::Snare: {
        const float value = snare(n);
        return {value, value};
    }
    case Instrument::Hat: {
        const float value = hat(n);
        return {value, value};
    }
    case Instrument::Crash:
        return crash(n);
    case Instrument::Bass: {
        const float value = bass(note, n);
        return {value, value};
    }
    case Instrument::Pad:
        return pad(note, n);
    case Instrument::Arp: {
        const float value = arp(note, n);
        return {value, value};
    }
    case Instrument::Stab:
        return stab(note, n);
    }
    return {};
}

} // namespace Music
