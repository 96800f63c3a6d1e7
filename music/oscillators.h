// The synthesiser's building blocks: a sine read from a table of its own, noise from an integer
// hash and polynomial envelopes. Each is exact arithmetic on floats or integers with no call into
// the C library, so every platform computes the same samples.
#pragma once

#include <array>
#include <cstdint>

namespace Music {

constexpr std::uint32_t sampleRate = 44100;

namespace detail {

constexpr int sineBits = 12;
constexpr int sineSize = 1 << sineBits;
constexpr int fractionBits = 32 - sineBits;
constexpr double pi = 3.14159265358979323846;

// sin x by its Taylor series, for x within [-pi, pi], far below a float's precision.
constexpr double taylorSine(double x) {
    double term = x;
    double sum = x;
    for (int k = 1; k < 16; ++k) {
        term *= -x * x / ((2.0 * k) * (2.0 * k + 1.0));
        sum += term;
    }
    return sum;
}

// One whole period and its first entry again, so that interpolation never wraps.
constexpr std::array<float, sineSize + 1> makeSineTable() {
    std::array<float, sineSize + 1> table{};
    for (int i = 0; i <= sineSize; ++i) {
        double x = 2.0 * pi * i / sineSize;
        if (x > pi) {
            x -= 2.0 * pi;
        }
        table[i] = static_cast<float>(taylorSine(x));
    }
    return table;
}

inline constexpr std::array<float, sineSize + 1> sineTable = makeSineTable();

} // namespace detail

// A phase is a fraction of a period in 32 bits: 2^32 is a whole turn, so it wraps by itself.
using Phase = std::uint32_t;

// The phase step of one sample at `hertz`.
constexpr Phase phaseStep(double hertz) {
    return static_cast<Phase>(hertz * 4294967296.0 / sampleRate + 0.5);
}

// sin(2 pi phase / 2^32), linearly interpolated in the table (error below 1e-6).
inline float sine(Phase phase) {
    const std::uint32_t index = phase >> detail::fractionBits;
    const float fraction = static_cast<float>(phase & ((1u << detail::fractionBits) - 1)) *
                           (1.0f / static_cast<float>(1u << detail::fractionBits));
    const float a = detail::sineTable[index];
    const float b = detail::sineTable[index + 1];
    return a + (b - a) * fraction;
}

// A value from -1 to 1 that looks random in n; `seed` picks another sequence.
inline float noise(std::uint32_t n, std::uint32_t seed) {
    std::uint32_t h = n * 0x9E3779B1u ^ seed;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(static_cast<std::int32_t>(h)) * (1.0f / 2147483648.0f);
}

// Noise with its low frequencies taken out (the difference of neighbours): cymbals and hats.
inline float brightNoise(std::uint32_t n, std::uint32_t seed) {
    return 0.5f * (noise(n, seed) - noise(n - 1, seed));
}

// Rises from 0 to 1 over `frames` samples, then stays at 1: every note starts from silence.
inline float attack(std::uint32_t n, std::uint32_t frames) {
    return n >= frames ? 1.0f : static_cast<float>(n) / static_cast<float>(frames);
}

// (1 - x)^power for x from 0 to 1, 0 beyond: a decay that ends at silence.
inline float fall(float x, int power) {
    if (x >= 1.0f) {
        return 0.0f;
    }
    const float rest = 1.0f - x;
    float value = 1.0f;
    for (int i = 0; i < power; ++i) {
        value *= rest;
    }
    return value;
}

} // namespace Music
