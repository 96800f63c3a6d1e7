// The program's random sequence: the GNU C library's rand() after srand(), number for number.
#include <gtest/gtest.h>

#include <cstdlib>

#include "random/random.h"

namespace {

struct Known {
    unsigned int seed;
    int first, second, hundredThousandth;
};

// Taken from the GNU C library, so that they hold where the C library's generator is another.
// Seed 0 acts as 1; seeds from 2^31 up are negative words when the generator is filled.
constexpr Known known[] = {{1, 1804289383, 846930886, 660658275},
                           {0, 1804289383, 846930886, 660658275},
                           {31337, 53418360, 66988840, 1792813998},
                           {2147483648u, 1336741213, 1210407648, 1214836719},
                           {4294967295u, 254925627, 1205188300, 2125453799}};

TEST(Random, SeededSequencesHoldTheCLibrarysNumbers) {
    for (const Known& k : known) {
        Random::seed(k.seed);
        EXPECT_EQ(Random::draw(), k.first) << k.seed;
        EXPECT_EQ(Random::draw(), k.second) << k.seed;
        for (int i = 3; i < 100'000; ++i) {
            Random::draw();
        }
        EXPECT_EQ(Random::draw(), k.hundredThousandth) << k.seed;
    }
}

#ifdef __GLIBC__
TEST(Random, LongRunsEqualTheCLibrarysRand) {
    for (const unsigned int seed : {1u, 2u, 7u, 1234u, 65536u, 2147483647u, 3000000000u}) {
        std::srand(seed);
        Random::seed(seed);
        int differing = 0;
        for (int i = 0; i < 1'000'000; ++i) {
            differing += Random::draw() != std::rand() ? 1 : 0;
        }
        EXPECT_EQ(differing, 0) << "seed " << seed;
    }
}
#endif

} // namespace
