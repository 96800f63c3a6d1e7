// The backdrop picture: its random point sets, the fault rule with its clamp after every pair,
// and the fast renderer against the exact one on real and on tie-heavy point sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "scenes/backdrop.h"

namespace {

int greyAt(const BackdropImage& image, int row, int column) {
    return image[(row * backdropWidth + column) * 4];
}

// The first pixel where two images differ, or -1 when they are the same.
long firstDifference(const BackdropImage& expected, const BackdropImage& actual) {
    const auto [e, a] =
        std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    return e == expected.end() && a == actual.end() ? -1 : (e - expected.begin()) / 4;
}

// Every lane width this processor runs must give the reference picture, byte for byte.
void expectEveryLaneWidthExact(const std::vector<Vec2>& a, const std::vector<Vec2>& b,
                               const BackdropImage& reference) {
    for (const BackdropLanes lanes :
         {BackdropLanes::Widest, BackdropLanes::Sse2, BackdropLanes::Avx2, BackdropLanes::Avx512}) {
        if (backdropLanesSupported(lanes)) {
            EXPECT_EQ(firstDifference(reference, renderBackdropImage(a, b, lanes)), -1)
                << "lane width " << static_cast<int>(lanes);
        }
    }
}

TEST(BackdropPoints, TakeTwentyFiveHundredValuesAllXThenAllY) {
    std::srand(3);
    const std::vector<Vec2> points = randomPointSet();
    const int next = std::rand();
    ASSERT_EQ(points.size(), static_cast<std::size_t>(backdropPointCount));
    std::srand(3);
    for (int i = 0; i < 2 * backdropPointCount; ++i) {
        // Each coordinate is one of 16383 levels from -0.5: read the level back.
        const float coordinate =
            i < backdropPointCount ? points[i].x : points[i - backdropPointCount].y;
        EXPECT_EQ(std::lround((coordinate + 0.5) * 16383), std::rand() % 16383) << i;
    }
    EXPECT_EQ(std::rand(), next);
}

TEST(BackdropRule, NearerAIsDarkerTiesLightenAndEveryPairIsClamped) {
    // A above B: 300 pairs push the top far below 0 and the bottom far above 255, 10 swapped pairs
    // move both back by 6.18; clamped only at the end, both would stay at the limits. Row 120 ties.
    std::vector<Vec2> a(300, {0.0f, 0.25f});
    std::vector<Vec2> b(300, {0.0f, -0.25f});
    a.insert(a.end(), 10, {0.0f, -0.25f});
    b.insert(b.end(), 10, {0.0f, 0.25f});
    const BackdropImage image = generateBackdropReference(a, b);
    EXPECT_EQ(greyAt(image, 0, 0), 6);
    EXPECT_EQ(greyAt(image, 239, 319), 248);
    EXPECT_EQ(greyAt(image, 120, 17), 255);
    expectEveryLaneWidthExact(a, b, image);
}

TEST(BackdropImage, IsExactForTheDefaultSequenceAndAnotherSeed) {
    for (const unsigned seed : {1u, 987654321u}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::srand(seed);
        const std::vector<Vec2> a = randomPointSet();
        const std::vector<Vec2> b = randomPointSet();
        const BackdropImage reference = generateBackdropReference(a, b);
        expectEveryLaneWidthExact(a, b, reference);
        std::srand(seed);
        generateBackdropTexture();
        EXPECT_EQ(firstDifference(reference, backdropPixels()), -1);
    }
}

// Pairs mirrored about x = 0 with B's x nudged outwards by 0 to 8 ulps: along the middle column
// squared distances tie or differ by a few ulps, where comparing them alone decides some rows
// wrong.
TEST(BackdropImage, IsExactWhereDistancesNearlyTie) {
    std::mt19937 generator(11);
    std::uniform_real_distribution<float> coordinate(0.05f, 0.45f);
    std::vector<Vec2> a, b;
    for (int k = 0; k < 400; ++k) {
        const Vec2 point{(k % 2 ? -1.0f : 1.0f) * coordinate(generator),
                         coordinate(generator) - 0.25f};
        float mirroredX = -point.x;
        for (int nudge = 0; nudge < k % 9; ++nudge) {
            mirroredX = std::nextafter(mirroredX, mirroredX < 0.0f ? -1.0f : 1.0f);
        }
        a.push_back(point);
        b.push_back({mirroredX, point.y});
    }
    expectEveryLaneWidthExact(a, b, generateBackdropReference(a, b));
}

} // namespace
