// The four background shaders drawn over the whole window, checked pixel by pixel against their
// formulas evaluated on the CPU.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include <GL/glew.h>

#include "gl_support.h"
#include "shaders/shader_program.h"
#include "shaders/shader_sources.h"
#include "shapes/geometry.h"

namespace {

using Colour3 = std::array<float, 3>;
// The colour a shader's formula gives the pixel at (column, row), or nothing where the formula
// sits so close to a decision that float rounding may go either way.
using Reference = std::function<std::optional<Colour3>(int column, int row)>;

struct Comparison {
    int compared = 0;
    int worst = 0;
    int worstColumn = -1, worstRow = -1;
};

Comparison compareWithReference(const std::vector<std::uint8_t>& pixels,
                                const Reference& reference) {
    Comparison result;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            const std::optional<Colour3> expected = reference(column, row);
            if (!expected) {
                continue;
            }
            ++result.compared;
            const int distance = levelDistance(pixelAt(pixels, column, row), (*expected)[0],
                                               (*expected)[1], (*expected)[2]);
            if (distance > result.worst) {
                result.worst = distance;
                result.worstColumn = column;
                result.worstRow = row;
            }
        }
    }
    return result;
}

// Draws the whole window through the program and checks every pixel to within one byte level.
void expectPictureMatches(const ShaderProgram& program, const Reference& reference) {
    resetFrame();
    program.use();
    drawFullScreenQuad();
    const Comparison result = compareWithReference(readBackBuffer(), reference);
    EXPECT_GT(result.compared, 640 * 480 * 99 / 100);
    EXPECT_LE(result.worst, 1) << "at column " << result.worstColumn << ", row " << result.worstRow;
}

std::vector<std::uint8_t> drawPicture(const ShaderProgram& program) {
    resetFrame();
    program.use();
    drawFullScreenQuad();
    return readBackBuffer();
}

class BackgroundShader : public testing::Test {
  protected:
    void TearDown() override { resetFrame(); }
    std::mt19937 random{20240607};
    float uniformIn(float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    }
};

// Gaussian glow --------------------------------------------------------------------------------

Colour3 glowColour(int column, int row) {
    const float qx = pixelCentreX(column) - 0.5f;
    const float qy = 0.5f - pixelCentreY(row);
    const float spread = 2.0f * 0.25f * 0.25f;
    const float val =
        std::clamp(2.0f * std::exp(-(qx * qx / spread + qy * qy / spread)), 0.5f, 1.0f);
    return {val, val * 123.0f / 162.0f, val * 92.0f / 162.0f};
}

TEST_F(BackgroundShader, GaussianGlowIsSaturatedInTheMiddleAndFallsToHalf) {
    const ShaderProgram glow(sharedVertexSource, "", gaussianGlowFragmentSource);
    const auto pixels = drawPicture(glow);
    EXPECT_LE(levelDistance(pixelAt(pixels, 320, 240), 1.0f, 123.0f / 162.0f, 92.0f / 162.0f), 1);
    EXPECT_LE(levelDistance(pixelAt(pixels, 319, 239), 1.0f, 123.0f / 162.0f, 92.0f / 162.0f), 1);
    EXPECT_LE(
        levelDistance(pixelAt(pixels, 0, 0), 0.5f, 0.5f * 123.0f / 162.0f, 0.5f * 92.0f / 162.0f),
        1);
    expectPictureMatches(
        glow, [](int column, int row) { return std::optional(glowColour(column, row)); });
}

TEST_F(BackgroundShader, GaussianGlowIgnoresTheVertexColourAndLighting) {
    const ShaderProgram glow(sharedVertexSource, "", gaussianGlowFragmentSource);
    resetFrame();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(0.0f, 0.0f, 1.0f);
    glow.use();
    drawFullScreenQuad();
    const auto pixels = readBackBuffer();
    for (const auto& [column, row] :
         {std::pair{320, 240}, std::pair{500, 100}, std::pair{20, 460}}) {
        const Colour3 expected = glowColour(column, row);
        EXPECT_LE(
            levelDistance(pixelAt(pixels, column, row), expected[0], expected[1], expected[2]), 1);
    }
}

// Random sources -------------------------------------------------------------------------------

struct SourcePoints {
    float x0[50] = {}, y0[50] = {}, x1[50] = {}, y1[50] = {};
};

ShaderProgram randomSourcesProgram(SourcePoints& points) {
    ShaderProgram program(sharedVertexSource, "", randomSourcesFragmentSource);
    program.addArray(points.x0, 50, "random_x_0");
    program.addArray(points.y0, 50, "random_y_0");
    program.addArray(points.x1, 50, "random_x_1");
    program.addArray(points.y1, 50, "random_y_1");
    return program;
}

// Sets `count` pairs, from index `first` on, to a first point at `a` and a second at `b`.
void setPairs(SourcePoints& points, int first, int count, Vec2 a, Vec2 b) {
    for (int i = first; i < first + count; ++i) {
        points.x0[i] = a.x;
        points.y0[i] = a.y;
        points.x1[i] = b.x;
        points.y1[i] = b.y;
    }
}

TEST_F(BackgroundShader, RandomSourcesVoteBlackWhereFirstPointsAreNearerAndWhiteElsewhere) {
    SourcePoints points;
    const ShaderProgram program = randomSourcesProgram(points);

    // Every first point left of the centre, every second point right of it.
    setPairs(points, 0, 50, {-0.25f, 0.1f}, {0.25f, 0.1f});
    auto pixels = drawPicture(program);
    for (int row = 0; row < 480; row += 7) {
        EXPECT_EQ(levelDistance(pixelAt(pixels, 319, row), 0, 0, 0), 0) << row;
        EXPECT_EQ(levelDistance(pixelAt(pixels, 0, row), 0, 0, 0), 0) << row;
        EXPECT_EQ(levelDistance(pixelAt(pixels, 320, row), 1, 1, 1), 0) << row;
        EXPECT_EQ(levelDistance(pixelAt(pixels, 639, row), 1, 1, 1), 0) << row;
    }

    // Equal distances count for the second point.
    setPairs(points, 0, 50, {0.1f, -0.2f}, {0.1f, -0.2f});
    pixels = drawPicture(program);
    EXPECT_EQ(litArea(pixels).count, 640 * 480);
    EXPECT_EQ(levelDistance(pixelAt(pixels, 100, 400), 1, 1, 1), 0);
}

TEST_F(BackgroundShader, RandomSourcesMoveTheGreyBy0Point04PerVote) {
    SourcePoints points;
    const ShaderProgram program = randomSourcesProgram(points);
    setPairs(points, 0, 26, {-0.25f, 0.0f}, {0.25f, 0.0f});  // darken the left half
    setPairs(points, 26, 24, {0.25f, 0.0f}, {-0.25f, 0.0f}); // darken the right half
    const auto pixels = drawPicture(program);
    const float left = 0.66f - 2 * 0.04f;  // 24 ups, 26 downs
    const float right = 0.66f + 2 * 0.04f; // 26 ups, 24 downs
    EXPECT_LE(levelDistance(pixelAt(pixels, 100, 100), left, left, left), 1);
    EXPECT_LE(levelDistance(pixelAt(pixels, 500, 300), right, right, right), 1);
}

TEST_F(BackgroundShader, RandomSourcesWithRandomPairsFollowTheirFormula) {
    SourcePoints points;
    const ShaderProgram program = randomSourcesProgram(points);
    for (int i = 0; i < 50; ++i) {
        points.x0[i] = uniformIn(-0.5f, 0.5f);
        points.y0[i] = uniformIn(-0.5f, 0.5f);
        points.x1[i] = uniformIn(-0.5f, 0.5f);
        points.y1[i] = uniformIn(-0.5f, 0.5f);
    }
    expectPictureMatches(program, [&points](int column, int row) -> std::optional<Colour3> {
        const float px = pixelCentreX(column) - 0.5f;
        const float py = pixelCentreY(row) - 0.5f;
        float val = 0.66f;
        for (int i = 0; i < 50; ++i) {
            const float d0 = std::hypot(px - points.x0[i], py - points.y0[i]);
            const float d1 = std::hypot(px - points.x1[i], py - points.y1[i]);
            if (std::fabs(d0 - d1) < 1e-5f) {
                return std::nullopt; // on a bisector: the GPU may round the other way
            }
            val += d0 < d1 ? -0.04f : 0.04f;
        }
        val = std::clamp(val, 0.0f, 1.0f);
        return Colour3{val, val, val};
    });
}

// Radial blobs ---------------------------------------------------------------------------------

struct BlobInputs {
    float time = 0.0f;
    float centres[6] = {}; // x, y of the three centres
};

ShaderProgram radialBlobsProgram(BlobInputs& inputs) {
    ShaderProgram program("", "", radialBlobsFragmentSource);
    program.addFloat(&inputs.time, "u_time");
    constexpr const char* names[6] = {"center_x",   "center_y",   "center_x_1",
                                      "center_y_1", "center_x_2", "center_y_2"};
    for (int i = 0; i < 6; ++i) {
        program.addFloat(&inputs.centres[i], names[i]);
    }
    return program;
}

Colour3 blobsColour(const BlobInputs& inputs, int column, int row) {
    const float stx = pixelCentreX(column);
    const float sty = pixelCentreY(row);
    const float px = stx - 0.5f;
    const float py = sty - 0.5f;
    const float widths[3] = {5.5f * std::fabs(std::cos(inputs.time / 0.5f)),
                             4.5f * std::fabs(std::sin(inputs.time / 0.5f)),
                             5.5f * std::fabs(std::sin(inputs.time / 0.5f))};
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const float distance =
            std::hypot(px - inputs.centres[2 * i], py - inputs.centres[2 * i + 1]);
        sum += std::exp(-widths[i] * std::sqrt(distance));
    }
    const float val = std::clamp(0.33f * sum, 0.41f, 1.0f);
    return {std::min(stx, sty) * val, std::max(stx, sty) * val * 155.0f / 176.0f,
            val * 113.0f / 176.0f};
}

TEST_F(BackgroundShader, RadialBlobsAtTimeZeroHaveTwoFlatKernelsAndOneSharpPeak) {
    BlobInputs inputs;
    // The first centre exactly on the centre of pixel (320, 240).
    inputs.centres[0] = pixelCentreX(320) - 0.5f;
    inputs.centres[1] = pixelCentreY(240) - 0.5f;
    inputs.centres[2] = -0.3f;
    inputs.centres[3] = 0.2f;
    inputs.centres[4] = 0.4f;
    inputs.centres[5] = -0.1f;
    const ShaderProgram program = radialBlobsProgram(inputs);
    const auto pixels = drawPicture(program);

    // val = 0.33 (1 + 1 + 1) at the peak; at least 0.66 everywhere, so blue never drops below
    // 0.66 * 113/176.
    const Rgb peak = pixelAt(pixels, 320, 240);
    EXPECT_LE(levelDistance(peak, pixelCentreY(240) * 0.99f, pixelCentreX(320) * 0.99f * 155 / 176,
                            0.99f * 113 / 176),
              1);
    int darkest = 255;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            darkest = std::min<int>(darkest, pixelAt(pixels, column, row).b);
        }
    }
    EXPECT_GE(darkest, byteLevel(0.66f * 113 / 176) - 1);
    EXPECT_LT(darkest, byteLevel(0.70f * 113 / 176)); // far corners: the peak has died away

    for (const auto& [column, row] : {std::pair{0, 0}, std::pair{639, 479}, std::pair{100, 400},
                                      std::pair{330, 250}, std::pair{600, 50}}) {
        const Colour3 expected = blobsColour(inputs, column, row);
        EXPECT_LE(
            levelDistance(pixelAt(pixels, column, row), expected[0], expected[1], expected[2]), 1)
            << column << ", " << row;
    }
}

TEST_F(BackgroundShader, RadialBlobsBreatheWithTime) {
    BlobInputs inputs;
    const ShaderProgram program = radialBlobsProgram(inputs);
    for (const float time : {0.0f, 0.3f, 0.785f, 1.7f, 12.25f}) {
        SCOPED_TRACE(time);
        inputs.time = time;
        for (float& coordinate : inputs.centres) {
            coordinate = uniformIn(-0.45f, 0.45f);
        }
        expectPictureMatches(program, [&inputs](int column, int row) {
            return std::optional(blobsColour(inputs, column, row));
        });
    }
}

// Gradient-noise grid --------------------------------------------------------------------------

struct GridInputs {
    float time = 0.0f;
    float gradientX[169] = {};
    float gradientY[169] = {};
};

ShaderProgram gradientNoiseProgram(GridInputs& inputs) {
    ShaderProgram program("", "", gradientNoiseFragmentSource);
    program.addFloat(&inputs.time, "u_time");
    program.addArray(inputs.gradientX, 169, "gradient_x");
    program.addArray(inputs.gradientY, 169, "gradient_y");
    return program;
}

// The grid's val before the colouring, lattice corners past the last gradient wrapping round.
float gridValue(const GridInputs& inputs, float stx, float sty) {
    const float ix = std::floor(13.0f * stx);
    const float iy = std::floor(13.0f * (1.0f - sty));
    const auto corner = [&](float cx, float cy, float floorValue) {
        const int k = static_cast<int>(13.0f * cy + cx) % 169;
        const float d = inputs.gradientX[k] * (stx - cx / 13.0f) +
                        inputs.gradientY[k] * (sty - (1.0f - cy / 13.0f));
        return std::clamp((d + 1.0f) / 2.0f, floorValue, 1.0f);
    };
    const float topLeft = corner(ix, iy, 0.21f);
    const float topRight = corner(ix + 1.0f, iy, 0.33f);
    const float bottomRight = corner(ix + 1.0f, iy + 1.0f, 0.25f);
    const float bottomLeft = corner(ix, iy + 1.0f, 0.30f);
    const float u = 13.0f * stx - ix;
    const float v = 13.0f * (1.0f - sty) - iy;
    const float val = (1 - u) * (1 - v) * topLeft + u * (1 - v) * topRight + u * v * bottomRight +
                      (1 - u) * v * bottomLeft;
    return std::clamp(val, 0.33f, 1.0f);
}

Colour3 gridColour(float val, float stx, float sty, float time) {
    return {val * std::fabs(std::sin(stx)), val * std::fabs(std::cos(sty)),
            std::clamp(val * std::fabs(std::cos(time)), 0.5f, 1.0f)};
}

void expectGridMatches(const ShaderProgram& program, const GridInputs& inputs) {
    expectPictureMatches(program, [&inputs](int column, int row) {
        const float stx = pixelCentreX(column);
        const float sty = pixelCentreY(row);
        return std::optional(gridColour(gridValue(inputs, stx, sty), stx, sty, inputs.time));
    });
}

TEST_F(BackgroundShader, GradientGridWithZeroGradientsIsHalfEverywhere) {
    GridInputs inputs;
    const ShaderProgram program = gradientNoiseProgram(inputs);
    for (const float time : {0.0f, 2.0f}) {
        inputs.time = time;
        const auto pixels = drawPicture(program);
        for (const auto& [column, row] : {std::pair{0, 0}, std::pair{639, 479}, std::pair{320, 240},
                                          std::pair{49, 36}, std::pair{600, 10}}) {
            const Colour3 expected =
                gridColour(0.5f, pixelCentreX(column), pixelCentreY(row), time);
            EXPECT_LE(
                levelDistance(pixelAt(pixels, column, row), expected[0], expected[1], expected[2]),
                1)
                << column << ", " << row;
        }
    }
}

TEST_F(BackgroundShader, GradientGridAtALatticePointShowsThatCornerAlone) {
    GridInputs inputs;
    for (int k = 0; k < 169; ++k) {
        const float direction = uniformIn(0.0f, 6.2832f);
        inputs.gradientX[k] = 8.0f * std::cos(direction);
        inputs.gradientY[k] = 8.0f * std::sin(direction);
    }
    const ShaderProgram program = gradientNoiseProgram(inputs);
    const auto pixels = drawPicture(program);
    // A corner's value is 1/2 at its own position, whatever its gradient, and the other three
    // corners weigh nothing there; the nearest pixel centre lies within half a pixel.
    int differentElsewhere = 0;
    for (int cy = 1; cy <= 12; ++cy) {
        for (int cx = 1; cx <= 12; ++cx) {
            const int column = static_cast<int>(std::lround(640.0 * cx / 13.0 - 0.5));
            const int row = static_cast<int>(std::lround(480.0 * (1.0 - cy / 13.0) - 0.5));
            const float green = pixelAt(pixels, column, row).g / 255.0f;
            EXPECT_NEAR(green / std::fabs(std::cos(pixelCentreY(row))), 0.5f, 0.03f)
                << "lattice point " << cx << ", " << cy;
            const float midCellGreen = pixelAt(pixels, column + 24, row - 18).g / 255.0f;
            differentElsewhere +=
                std::fabs(midCellGreen / std::fabs(std::cos(pixelCentreY(row - 18))) - 0.5f) >
                0.05f;
        }
    }
    EXPECT_GT(differentElsewhere, 48); // the gradients do shape the cells between the points
}

TEST_F(BackgroundShader, GradientGridFollowsItsFormulaAtEveryPixel) {
    GridInputs inputs;
    const ShaderProgram program = gradientNoiseProgram(inputs);
    // Unit gradients keep every corner near 1/2; long ones make every clamp bite.
    for (const float length : {1.0f, 8.0f}) {
        for (const float time : {0.0f, 1.0f, 2.5f}) {
            SCOPED_TRACE(testing::Message() << "length " << length << ", time " << time);
            inputs.time = time;
            for (int k = 0; k < 169; ++k) {
                const float direction = uniformIn(0.0f, 6.2832f);
                inputs.gradientX[k] = length * std::cos(direction);
                inputs.gradientY[k] = length * std::sin(direction);
            }
            expectGridMatches(program, inputs);
        }
    }
}

TEST_F(BackgroundShader, GradientGridCornersKeepTheirOwnFloors) {
    GridInputs inputs;
    const ShaderProgram program = gradientNoiseProgram(inputs);
    // Steep gradients all one way push the two corners on one side of each cell to their floors
    // and the other two to 1, so that each pair of floors shapes half of every cell.
    for (const Vec2 direction : {Vec2{1, 0}, Vec2{-1, 0}, Vec2{0, 1}, Vec2{0, -1}}) {
        SCOPED_TRACE(testing::Message() << direction.x << ", " << direction.y);
        std::fill(std::begin(inputs.gradientX), std::end(inputs.gradientX), 40.0f * direction.x);
        std::fill(std::begin(inputs.gradientY), std::end(inputs.gradientY), 40.0f * direction.y);
        expectGridMatches(program, inputs);
    }
}

} // namespace
