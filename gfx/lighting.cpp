// The ambient and diffuse terms of one positional light.
#include "gfx/lighting.h"

#include <algorithm>
#include <cmath>

namespace gfx {

std::array<float, 4> litColour(const LightSetup& light, const std::array<float, 3>& eye,
                               const std::array<float, 3>& normal,
                               const std::array<float, 4>& colour) {
    std::array<float, 3> toLight{};
    for (int i = 0; i < 3; ++i) {
        toLight[i] = light.position[i] / light.position[3] - eye[i];
    }
    const float length =
        std::sqrt(toLight[0] * toLight[0] + toLight[1] * toLight[1] + toLight[2] * toLight[2]);
    float facing = 0.0f; // N . L, the light's direction normalised, the normal as it is
    for (int i = 0; i < 3; ++i) {
        facing += normal[i] * (toLight[i] / length);
    }
    const float diffuse = std::max(facing, 0.0f);
    std::array<float, 4> lit{0, 0, 0, colour[3]};
    for (int i = 0; i < 3; ++i) {
        lit[i] = std::clamp(sceneAmbient * colour[i] + diffuse * colour[i], 0.0f, 1.0f);
    }
    return lit;
}

} // namespace gfx
