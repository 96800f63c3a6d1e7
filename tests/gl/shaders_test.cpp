// Two background fields on real OpenGL, at a time other than 0, against their formulas on the CPU.
#include "gl_support.h"
#include "shaders/shader_program.h"
#include "shaders/shader_sources.h"

namespace {

// Draws the program over the window: each pixel within a level of `field` at its centre (0 to 1).
template <typename Field> void expectWholePicture(const ShaderProgram& program, Field field) {
    resetFrame();
    program.use();
    fillWindow();
    const Picture pixels = readBackBuffer();
    int wrong = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        const Rgb have = pixelAt(pixels, i % 640, i / 640);
        const std::array<double, 3> want = field((i % 640 + 0.5) / 640, (i / 640 + 0.5) / 480);
        wrong += std::abs(have.r - want[0] * 255) > 1.5 || std::abs(have.g - want[1] * 255) > 1.5 ||
                 std::abs(have.b - want[2] * 255) > 1.5;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(BackgroundField, RadialBlobsBreatheWithUTimeOverAHalf) {
    float time = 0.7f, centres[6] = {0.1f, -0.2f, -0.3f, 0.25f, 0.2f, 0.3f};
    ShaderProgram program(radialBlobsFragmentSource);
    program.addFloat(&time, "u_time");
    const char* names[] = {"center_x",   "center_y",   "center_x_1",
                           "center_y_1", "center_x_2", "center_y_2"};
    for (int i = 0; i < 6; ++i) {
        program.addFloat(&centres[i], names[i]);
    }
    const double widths[] = {5.5 * std::fabs(std::cos(time / 0.5)),
                             4.5 * std::fabs(std::sin(time / 0.5)),
                             5.5 * std::fabs(std::sin(time / 0.5))};
    expectWholePicture(program, [&](double x, double y) {
        double sum = 0; // each kernel falls with the root of the distance
        for (int i = 0; i < 3; ++i) {
            const double distance =
                std::hypot(x - 0.5 - centres[2 * i], y - 0.5 - centres[2 * i + 1]);
            sum += std::exp(-widths[i] * std::sqrt(distance));
        }
        const double val = std::clamp(0.33 * sum, 0.41, 1.0);
        return std::array{std::min(x, y) * val, std::max(x, y) * val * 155 / 176, val * 113 / 176};
    });
}

// Steep like gradients push corners to their bounds, the value above a half: blue is |cos u_time|.
TEST(BackgroundField, GradientNoiseClampsItsCornersAndPulsesWithUTime) {
    float time = 0.3f, gradientX[169], gradientY[169];
    std::fill_n(gradientX, 169, 40.0f);
    std::fill_n(gradientY, 169, -30.0f);
    ShaderProgram program(gradientNoiseFragmentSource);
    program.addFloat(&time, "u_time");
    program.addArray(gradientX, 169, "gradient_x");
    program.addArray(gradientY, 169, "gradient_y");
    expectWholePicture(program, [&](double x, double y) {
        const double ix = std::floor(13 * x), iy = std::floor(13 * (1 - y)); // from the top
        const double u = 13 * x - ix, v = 13 * (1 - y) - iy;
        const auto corner = [&](double cx, double cy, double floor) {
            const double d = 40 * (x - cx / 13) - 30 * (y - (1 - cy / 13));
            return std::clamp((d + 1) / 2, floor, 1.0);
        };
        const double val = std::clamp(
            (1 - u) * (1 - v) * corner(ix, iy, 0.21) + u * (1 - v) * corner(ix + 1, iy, 0.33) +
                u * v * corner(ix + 1, iy + 1, 0.25) + (1 - u) * v * corner(ix, iy + 1, 0.30),
            0.33, 1.0);
        return std::array{val * std::sin(x), val * std::cos(y),
                          std::clamp(val * std::cos(time), 0.5, 1.0)};
    });
}

} // namespace
