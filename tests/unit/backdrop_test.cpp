// The backdrop: the fault rule, clamped after every pair; the fast renderer where distances tie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "scenes/backdrop.h"

namespace {

// Every lane width this processor runs gives the exact picture, byte for byte.
void expectFastRendererExact(const std::vector<Vec2>& a, const std::vector<Vec2>& b,
                             const BackdropImage& exact) {
    for (const BackdropLanes lanes :
         {BackdropLanes::Widest, BackdropLanes::Sse2, BackdropLanes::Avx2, BackdropLanes::Avx512}) {
        if (backdropLanesSupported(lanes)) {
            const BackdropImage fast = renderBackdropImage(a, b, lanes);
            const auto [e, f] = std::mismatch(exact.begin(), exact.end(), fast.begin(), fast.end());
            EXPECT_TRUE(e == exact.end() && f == fast.end())
                << "lane width " << static_cast<int>(lanes) << " differs at pixel "
                << (e - exact.begin()) / 4;
        }
    }
}

TEST(BackdropRule, NearerAIsDarkerTiesLightenAndEveryPairIsClamped) {
    // A above B: 300 pairs push the top far below 0 and the bottom far above 255, 10 swapped pairs
    // move both back by 6.18; clamped only at the end, both would stay at the limits. Row 120 ties.
    std::vector<Vec2> a(300, {0.0f, 0.25f}), b(300, {0.0f, -0.25f});
    a.insert(a.end(), 10, {0.0f, -0.25f});
    b.insert(b.end(), 10, {0.0f, 0.25f});
    const BackdropImage image = generateBackdropReference(a, b);
    EXPECT_EQ(image[0], 6); // the top left pixel's grey
    EXPECT_EQ(image[(239 * backdropWidth + 319) * 4], 248);
    EXPECT_EQ(image[(120 * backdropWidth + 17) * 4], 255);
    expectFastRendererExact(a, b, image);
}

// Pairs mirrored about x = 0, B's x nudged outwards by 0 to 8 ulps: along the middle column their
// distances tie or differ by a few ulps, where squared distances alone decide some rows wrong.
TEST(BackdropImage, FastRendererIsExactWhereDistancesNearlyTie) {
    std::mt19937 generator(11);
    std::uniform_real_distribution<float> coordinate(0.05f, 0.45f);
    std::vector<Vec2> nearA, nearB;
    for (int k = 0; k < 400; ++k) {
        const Vec2 point{(k % 2 ? -1.0f : 1.0f) * coordinate(generator),
                         coordinate(generator) - 0.25f};
        float mirroredX = -point.x;
        for (int nudge = 0; nudge < k % 9; ++nudge) {
            mirroredX = std::nextafter(mirroredX, mirroredX < 0.0f ? -1.0f : 1.0f);
        }
        nearA.push_back(point);
        nearB.push_back({mirroredX, point.y});
    }
    expectFastRendererExact(nearA, nearB, generateBackdropReference(nearA, nearB));
}

} // namespace
