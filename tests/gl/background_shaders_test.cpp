// The four background shaders drawn over the whole window and checked against their formulas
// evaluated on the CPU.

#include <functional>
#include <tuple>

#include "gl_support.h"
#include "shaders/shader_program.h"
#include "shaders/shader_sources.h"

namespace {

using Colour3 = std::array<float, 3>;

std::vector<std::uint8_t> drawPicture(const ShaderProgram& program) {
    resetFrame();
    program.use();
    drawFullScreenQuad();
    return readBackBuffer();
}

// Every pixel within one byte level of the formula at the pixel's centre (stx, sty, 0 to 1).
void expectPictureMatches(const ShaderProgram& program,
                          const std::function<Colour3(float stx, float sty)>& formula) {
    const auto pixels = drawPicture(program);
    for (int i = 0; i < 640 * 480; ++i) {
        const int column = i % 640, row = i / 640;
        const auto [r, g, b] = formula(pixelCentreX(column), pixelCentreY(row));
        if (levelDistance(pixelAt(pixels, column, row), r, g, b) > 1) {
            ADD_FAILURE() << "off by more than a level at column " << column << ", row " << row;
            return;
        }
    }
}

TEST(BackgroundShader, GaussianGlowIsSaturatedInTheMiddleAndFallsToHalfAtTheCorners) {
    const auto pixels =
        drawPicture(ShaderProgram(sharedVertexSource, "", gaussianGlowFragmentSource));
    for (const auto& [column, row, val] :
         {std::tuple{320, 240, 1.0f}, {0, 0, 0.5f}, {639, 479, 0.5f}}) {
        EXPECT_LE(levelDistance(pixelAt(pixels, column, row), val, val * 123 / 162, val * 92 / 162),
                  1);
    }
}

TEST(BackgroundShader, RandomSourcesVoteFromGreyTowardsBlackWhereFirstPointsAreNearer) {
    float x0[50], x1[50]; // every y stays 0
    ShaderProgram program(sharedVertexSource, "", randomSourcesFragmentSource);
    program.addArray(x0, 50, "random_x_0");
    program.addArray(x1, 50, "random_x_1");
    // Pairs from `first` on with the first point at (-x, 0) and the second at (x, 0).
    const auto setPairs = [&](int first, int count, float x) {
        std::fill_n(x0 + first, count, -x);
        std::fill_n(x1 + first, count, x);
    };
    const auto expectHalves = [&](float left, float right) {
        expectPictureMatches(program, [=](float stx, float) {
            const float val = stx < 0.5f ? left : right;
            return Colour3{val, val, val};
        });
    };
    setPairs(0, 50, 0.25f); // every first point nearer on the left, every second on the right
    expectHalves(0.0f, 1.0f);
    setPairs(0, 26, 0.25f); // from 0.66, 26 votes against 24 move each half by 2 x 0.04
    setPairs(26, 24, -0.25f);
    expectHalves(0.58f, 0.74f);
}

TEST(BackgroundShader, RadialBlobsAtTimeZeroHaveOneSharpKernelOverTwoFlatOnes) {
    float centreX = 0.1f, centreY = -0.2f; // u_time and the other centres stay 0
    ShaderProgram program("", "", radialBlobsFragmentSource);
    program.addFloat(&centreX, "center_x");
    program.addFloat(&centreY, "center_y");
    expectPictureMatches(program, [&](float stx, float sty) {
        // Widths 5.5 |cos 0|, 4.5 |sin 0| and 5.5 |sin 0|: the other two centres add 1 each.
        const float distance = std::hypot(stx - 0.5f - centreX, sty - 0.5f - centreY);
        const float val =
            std::clamp(0.33f * (std::exp(-5.5f * std::sqrt(distance)) + 2.0f), 0.41f, 1.0f);
        return Colour3{std::min(stx, sty) * val, std::max(stx, sty) * val * 155.0f / 176.0f,
                       val * 113.0f / 176.0f};
    });
}

// The field with gradients is checked where Scene 5's panel draws it.
TEST(BackgroundShader, GradientGridWithoutGradientsIsHalfTheColourFactors) {
    float time = 0.0f, gradientX[169] = {}, gradientY[169] = {};
    ShaderProgram program("", "", gradientNoiseFragmentSource);
    program.addFloat(&time, "u_time");
    program.addArray(gradientX, 169, "gradient_x");
    program.addArray(gradientY, 169, "gradient_y");
    expectPictureMatches(program, [](float stx, float sty) {
        return Colour3{0.5f * std::fabs(std::sin(stx)), 0.5f * std::fabs(std::cos(sty)), 0.5f};
    });
}

} // namespace
