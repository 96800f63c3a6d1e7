// An additive feedback generator over 31 words: each new word is the sum of the words 31 and 3
// places back (modulo 2^32), and a number is that word without its lowest bit. The words are
// filled from the seed by the minimal standard generator and the first 310 numbers are dropped.
#include "random/random.h"

#include <array>
#include <cstdint>

namespace {

constexpr int words = 31;
constexpr int separation = 3;
constexpr int warmUpDraws = 10 * words;

struct Generator {
    std::array<std::uint32_t, words> state{};
    int front = separation; // the word 3 places back of the next one
    int rear = 0;           // the word 31 places back of the next one
};

// 16807 * word modulo 2^31 - 1, by Schrage's method so that no product leaves 32 signed bits.
std::int32_t nextMinimalStandard(std::int32_t word) {
    const std::int32_t high = word / 127773;
    const std::int32_t low = word % 127773;
    std::int32_t next = 16807 * low - 2836 * high;
    return next < 0 ? next + Random::maximum : next;
}

int step(Generator& generator) {
    std::uint32_t& word = generator.state[generator.front];
    word += generator.state[generator.rear];
    generator.front = (generator.front + 1) % words;
    generator.rear = (generator.rear + 1) % words;
    return static_cast<int>(word >> 1);
}

Generator seeded(unsigned int seed) {
    Generator generator;
    // The seed is taken as a signed 32-bit word, as the C library does.
    std::int32_t word = static_cast<std::int32_t>(seed == 0 ? 1 : seed);
    generator.state[0] = static_cast<std::uint32_t>(word);
    for (int i = 1; i < words; ++i) {
        word = nextMinimalStandard(word);
        generator.state[i] = static_cast<std::uint32_t>(word);
    }
    for (int i = 0; i < warmUpDraws; ++i) {
        step(generator);
    }
    return generator;
}

Generator& generator() {
    static Generator instance = seeded(1);
    return instance;
}

} // namespace

namespace Random {

void seed(unsigned int seed) {
    generator() = seeded(seed);
}

int draw() {
    return step(generator());
}

} // namespace Random
