// Scenes 5 and 6 on real OpenGL: their random draws, the frame hooks that turn the noise
// gradients and the point pairs, and what the shaders paint.

#include "gl_support.h"

#include <GL/freeglut.h>

#include "scenes/scene_builders.h"
#include "text/lines.h"

namespace {

constexpr int gradientCount = 169;
constexpr int pairCount = 50;

// The signed angle, -π to π, that turns the direction of (fromX, fromY) onto (toX, toY).
double turnBetween(double fromX, double fromY, double toX, double toY) {
    return std::remainder(std::atan2(toY, toX) - std::atan2(fromY, fromX), 2 * M_PI);
}

using Scenes56Test = ClockedTest;

TEST_F(Scenes56Test, Scene5TakesAllXThenAllYComponentsOfItsUnitGradients) {
    const std::vector<int> sequence = randSequence(2 * gradientCount + 1);
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
    const std::vector<int> sequence = randSequence(4 * pairCount + 1);
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

// Where the closing card's lines put glyphs: each drawn here with GLUT alone, its middle at the
// centre column, on its baseline.
std::vector<bool> cardGlyphs() {
    const struct {
        const std::string& text;
        void* font;
        float baseline;
    } lines[] = {{releaseLine, GLUT_BITMAP_TIMES_ROMAN_24, 0.0f},
                 {personalGreetHeading, GLUT_BITMAP_8_BY_13, -0.2f},
                 {personalGreetLine1, GLUT_BITMAP_8_BY_13, -0.3f},
                 {personalGreetLine2, GLUT_BITMAP_8_BY_13, -0.4f}};
    resetFrame();
    glColor3f(1, 1, 1);
    for (const auto& line : lines) {
        const auto* text = reinterpret_cast<const unsigned char*>(line.text.c_str());
        glRasterPos2f(-glutBitmapLength(line.font, text) / 640.0f, line.baseline);
        for (const unsigned char* c = text; *c; ++c) {
            glutBitmapCharacter(line.font, *c);
        }
    }
    const auto pixels = readBackBuffer();
    std::vector<bool> glyphs(640 * 480);
    for (int i = 0; i < 640 * 480; ++i) {
        glyphs[i] = !isBlack(pixelAt(pixels, i % 640, i / 640));
    }
    return glyphs;
}

TEST_F(Scenes56Test, Scene6ShowsItsFourLinesInTheTextColourOverTheRandomPointField) {
    const std::vector<bool> glyphs = cardGlyphs();
    Scene scene = buildScene6();
    scene.start();
    resetFrame();
    scene.draw();
    const auto pixels = readBackBuffer();
    int glyphPixels = 0, wrongGlyphs = 0, compared = 0, wrongField = 0;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            const Rgb pixel = pixelAt(pixels, column, row);
            if (glyphs[row * 640 + column]) {
                ++glyphPixels;
                wrongGlyphs += pixel.r != 135 || pixel.g != 128 || pixel.b != 94;
                continue;
            }
            const double level = randomFieldLevel(column, row, scene.shader.arrayUniforms);
            if (level >= 0) {
                ++compared;
                wrongField += levelDistance(pixel, level, level, level) > 1;
            }
        }
    }
    EXPECT_GT(glyphPixels, 1500);
    EXPECT_EQ(wrongGlyphs, 0);
    EXPECT_GT(compared, 640 * 480 * 95 / 100); // only pixels on a pair's bisector are left out
    EXPECT_EQ(wrongField, 0);
}

} // namespace
