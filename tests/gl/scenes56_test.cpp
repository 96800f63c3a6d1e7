// Scenes 5 and 6 on real OpenGL: their random draws, the frame hooks that turn the noise
// gradients and the point pairs, and what the shaders paint.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scenes/scene_builders.h"

namespace {

constexpr DemoClock::Ticks base = 9'000'000'000;
constexpr int gradientCount = 169;
constexpr int pairCount = 50;

DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

// The first `count` numbers of the C generator's default sequence, which is then restarted.
std::vector<int> defaultSequence(int count) {
    std::srand(1);
    std::vector<int> values(count);
    for (int& value : values) {
        value = std::rand();
    }
    std::srand(1);
    return values;
}

// The signed angle, -π to π, that turns the direction of (fromX, fromY) onto (toX, toY).
double turnBetween(double fromX, double fromY, double toX, double toY) {
    return std::remainder(std::atan2(toY, toX) - std::atan2(fromY, fromX), 2 * M_PI);
}

class Scenes56Test : public testing::Test {
  protected:
    void SetUp() override { DemoClock::setManualTime(base); }
    void TearDown() override { DemoClock::setSource(nullptr); }
};

TEST_F(Scenes56Test, Scene5TakesAllXThenAllYComponentsOfItsUnitGradients) {
    const std::vector<int> sequence = defaultSequence(2 * gradientCount + 1);
    const Scene scene = buildScene5();
    EXPECT_EQ(std::rand(), sequence[2 * gradientCount]) << "the builder draws exactly 338";
    const float* gx = scene.shader.arrayUniforms[0];
    const float* gy = scene.shader.arrayUniforms[1];
    for (int k = 0; k < gradientCount; ++k) {
        const double x = (sequence[k] % 16383) / 16383.0 - 0.5;
        const double y = (sequence[gradientCount + k] % 16383) / 16383.0 - 0.5;
        EXPECT_NEAR(gx[k], x / std::hypot(x, y), 1e-6) << "gradient " << k;
        EXPECT_NEAR(gy[k], y / std::hypot(x, y), 1e-6) << "gradient " << k;
    }
}

TEST_F(Scenes56Test, Scene5HookTurnsNeighboursOppositeWaysWhereColumns5To9PassTheSignOn) {
    Scene scene = buildScene5();
    const float* gx = scene.shader.arrayUniforms[0];
    const float* gy = scene.shader.arrayUniforms[1];
    const std::vector<float> builtX(gx, gx + gradientCount), builtY(gy, gy + gradientCount);
    DemoClock::setManualTime(at(4.0));
    scene.frameHook(); // the clock starts here: sin 0 turns nothing
    EXPECT_EQ(std::vector<float>(gx, gx + gradientCount), builtX);

    DemoClock::setManualTime(at(5.5)); // t = 1.5 s, |sin t| nearly 1
    scene.frameHook();
    double sign = 1; // counter-clockwise first; columns 5 to 9 pass the other sign on
    for (int k = 0; k < gradientCount; ++k) {
        EXPECT_NEAR(turnBetween(builtX[k], builtY[k], gx[k], gy[k]), sign * std::sin(1.5) / 150,
                    1e-6)
            << "gradient " << k;
        EXPECT_NEAR(std::hypot(gx[k], gy[k]), 1.0, 1e-6) << "gradient " << k;
        sign = k % 13 >= 5 && k % 13 <= 9 ? -sign : sign;
    }
}

// The gradient-noise field at the centre of a pixel, 0 to 1 per channel; empty where a corner of
// the pixel's cell lies past the 169 gradients, or where the pixel is too close to a cell edge
// for the clamped corners to agree between single and double precision.
std::vector<double> noiseColour(int column, int row, const ShaderProgram& shader) {
    const double sx = pixelCentreX(column), sy = pixelCentreY(row);
    const double ix = std::floor(13 * sx), iy = std::floor(13 * (1 - sy));
    const double u = 13 * sx - ix, v = 13 * (1 - sy) - iy;
    if (u < 0.02 || u > 0.98 || v < 0.02 || v > 0.98 || 13 * (iy + 1) + ix + 1 >= gradientCount) {
        return {};
    }
    const auto corner = [&](double cx, double cy, double floor) {
        const int k = static_cast<int>(13 * cy + cx);
        const double d = shader.arrayUniforms[0][k] * (sx - cx / 13) +
                         shader.arrayUniforms[1][k] * (sy - (1 - cy / 13));
        return std::clamp((d + 1) / 2, floor, 1.0);
    };
    const double val = std::clamp(
        (1 - u) * (1 - v) * corner(ix, iy, 0.21) + u * (1 - v) * corner(ix + 1, iy, 0.33) +
            u * v * corner(ix + 1, iy + 1, 0.25) + (1 - u) * v * corner(ix, iy + 1, 0.30),
        0.33, 1.0);
    const double time = *shader.floatUniforms[0];
    return {val * std::fabs(std::sin(sx)), val * std::fabs(std::cos(sy)),
            std::clamp(val * std::fabs(std::cos(time)), 0.5, 1.0)};
}

TEST_F(Scenes56Test, Scene5PanelShowsTheNoiseColours) {
    Scene scene = buildScene5();
    scene.start();
    DemoClock::setManualTime(at(2.2)); // the panel over the right quarter has started
    scene.activateShapes();            // no update: the hook is left to the test that follows it
    resetFrame();
    scene.draw();
    const auto pixels = readBackBuffer();
    int checked = 0, wrong = 0;
    for (int row = 0; row < 480; row += 3) {
        for (int column = 480; column < 640; column += 3) {
            const auto want = noiseColour(column, row, scene.shader);
            if (!want.empty()) {
                ++checked;
                wrong += levelDistance(pixelAt(pixels, column, row), want[0], want[1], want[2]) > 2;
            }
        }
    }
    EXPECT_GT(checked, 5000);
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(isBlack(pixelAt(pixels, 478, 10))) << "the panel starts at x = 0.5";
}

TEST_F(Scenes56Test, Scene6TakesExactly200NumbersEachGivingOneOfTheValuesKOver51MinusHalf) {
    const std::vector<int> sequence = defaultSequence(4 * pairCount + 1);
    const Scene scene = buildScene6();
    EXPECT_EQ(std::rand(), sequence[4 * pairCount]) << "the builder draws exactly 200";
    for (int a = 0; a < 4; ++a) {
        for (int i = 0; i < pairCount; ++i) {
            EXPECT_EQ(scene.shader.arrayUniforms[a][i],
                      static_cast<float>((sequence[pairCount * a + i] % 51) / 51.0 - 0.5))
                << scene.shader.arrayUniformNames[a] << "[" << i << "]";
        }
    }
}

TEST_F(Scenes56Test, Scene6HookTurnsEvenAndOddPairsOppositeWays) {
    Scene scene = buildScene6();
    const std::vector<float*>& arrays = scene.shader.arrayUniforms;
    std::vector<std::vector<float>> built;
    for (const float* array : arrays) {
        built.emplace_back(array, array + pairCount);
    }
    DemoClock::setManualTime(at(2.0));
    scene.frameHook(); // the clock starts here: sin 0 turns nothing
    EXPECT_EQ(std::vector<float>(arrays[0], arrays[0] + pairCount), built[0]);

    DemoClock::setManualTime(at(3.5)); // t = 1.5 s, |sin t| nearly 1
    scene.frameHook();
    for (int i = 0; i < pairCount; ++i) {
        const double turn = (i % 2 == 0 ? 1 : -1) * std::sin(1.5) / 300;
        EXPECT_NEAR(turnBetween(built[0][i], built[1][i], arrays[0][i], arrays[1][i]), turn, 2e-5)
            << "first point of pair " << i;
        EXPECT_NEAR(turnBetween(built[2][i], built[3][i], arrays[2][i], arrays[3][i]), turn, 2e-5)
            << "second point of pair " << i;
    }
}

// The random-sources field's grey level at the centre of a pixel, 0 to 1; negative where a
// pair's two distances are too close to call.
double randomFieldLevel(int column, int row, const std::vector<float*>& arrays) {
    const double px = pixelCentreX(column) - 0.5, py = pixelCentreY(row) - 0.5;
    int votes = 0;
    for (int i = 0; i < pairCount; ++i) {
        const double d0 = std::hypot(px - arrays[0][i], py - arrays[1][i]);
        const double d1 = std::hypot(px - arrays[2][i], py - arrays[3][i]);
        if (std::fabs(d0 - d1) < 1e-5) {
            return -1;
        }
        votes += d0 < d1 ? -1 : 1;
    }
    return std::clamp(0.66 + votes * 0.04, 0.0, 1.0);
}

TEST_F(Scenes56Test, Scene6FirstFrameShowsTheGreyRandomPointFieldOverTheWholeScreen) {
    Scene scene = buildScene6();
    scene.start();
    resetFrame();
    scene.draw();
    const auto pixels = readBackBuffer();
    int compared = 0, wrong = 0;
    for (int row = 0; row < 480; row += 2) {
        for (int column = 0; column < 640; column += 2) {
            const double level = randomFieldLevel(column, row, scene.shader.arrayUniforms);
            if (level >= 0) {
                ++compared;
                wrong += levelDistance(pixelAt(pixels, column, row), level, level, level) > 1;
            }
        }
    }
    EXPECT_GT(compared, 320 * 240 * 95 / 100); // only pixels on a pair's bisector are left out
    EXPECT_EQ(wrong, 0);
}

} // namespace
