// The four background shaders' formulas on the processor, with room for one rounding to bytes.
#include "production_shading.h"

#include <algorithm>
#include <cmath>

namespace {

// A colour channel is the formula's value times 255, rounded to a byte.
constexpr double byteRounding = 0.5 / 255.0;

bool near(int byte, double expected, double tolerance) {
    return std::abs(byte - expected * 255.0) <= tolerance * 255.0;
}

} // namespace

bool showsGaussianGlow(Rgb pixel, int column, int row) {
    const double qx = fragmentX(column) - 0.5;
    const double qy = 0.5 - fragmentY(row);
    const double sigma = 0.25;
    const double value = std::clamp(
        2.0 * std::exp(-(qx * qx / (2 * sigma * sigma) + qy * qy / (2 * sigma * sigma))), 0.5, 1.0);
    const double tolerance = 1.0 / 255.0;
    return near(pixel.r, value, tolerance) && near(pixel.g, value * 123 / 162, tolerance) &&
           near(pixel.b, value * 92 / 162, tolerance);
}

bool showsRadialBlobs(Rgb pixel, int column, int row) {
    const double x = fragmentX(column);
    const double y = fragmentY(row);
    const double value = pixel.b / 255.0 * 176 / 113;
    // Blue is known to half a byte, which carries into the blob value.
    const double valueError = byteRounding * 176 / 113;
    const bool inRange = value >= 0.41 - valueError && value <= 1.0 + valueError;
    const double redTolerance = byteRounding + std::min(x, y) * valueError + 1e-3;
    const double greenTolerance = byteRounding + std::max(x, y) * valueError * 155 / 176 + 1e-3;
    return inRange && near(pixel.r, std::min(x, y) * value, redTolerance) &&
           near(pixel.g, std::max(x, y) * value * 155 / 176, greenTolerance);
}

bool showsGradientNoise(Rgb pixel, int column, int row) {
    const double sinX = std::abs(std::sin(fragmentX(column)));
    const double cosY = std::abs(std::cos(fragmentY(row)));
    const double fromRed = pixel.r / 255.0 / sinX;
    const double fromGreen = pixel.g / 255.0 / cosY;
    const double tolerance = byteRounding / sinX + byteRounding / cosY + 1e-3;
    const bool valueInRange = fromGreen >= 0.33 - byteRounding / cosY - 1e-3 &&
                              fromGreen <= 1.0 + byteRounding / cosY + 1e-3;
    return std::abs(fromRed - fromGreen) <= tolerance && valueInRange && pixel.b >= 127;
}

bool showsRandomSources(Rgb pixel, int, int) {
    if (!isGrey(pixel)) {
        return false;
    }
    if (pixel.r == 0 || pixel.r == 255) {
        return true; // clamped
    }
    // Fifty votes of +-0.04 move 0.66 by an even number of steps: 0.02, 0.10, ... 0.98. The
    // shader adds the votes up in single precision, so a level that falls on half a byte may
    // round either way.
    for (int step = 0; step <= 12; ++step) {
        if (std::abs(pixel.r - (0.02 + 0.08 * step) * 255.0) <= 0.5 + 1e-3) {
            return true;
        }
    }
    return false;
}
