// The fixed-function lighting the Scenes were drawn with, computed on the processor: the
// reference the layer's lit shader follows, term for term.
#pragma once

#include <array>

namespace gfx {

// One positional light with a white diffuse part and no ambient part, the scene ambient of
// 0.2, and a material whose ambient and diffuse colours follow the vertex colour and which
// reflects nothing specular and emits nothing.
struct LightSetup {
    std::array<float, 4> position{0, 0, 1, 0}; // in eye coordinates, homogeneous
};

constexpr float sceneAmbient = 0.2f;

// The colour of a vertex of colour `colour` at eye position `eye` with eye-space normal
// `normal` (as the normal matrix made it, not normalised): ambient plus diffuse, each channel
// clamped to [0, 1], the alpha the vertex's own.
std::array<float, 4> litColour(const LightSetup& light, const std::array<float, 3>& eye,
                               const std::array<float, 3>& normal,
                               const std::array<float, 4>& colour);

} // namespace gfx
