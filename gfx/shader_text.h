// The layer's GLSL: one text per shader, and the few words that differ between OpenGL flavours
// put in front of it.
#pragma once

#include <string>

namespace gfx {

enum class Flavour {
    Desktop21,  // OpenGL 2.1: GLSL 1.20
    Desktop33,  // OpenGL 3.3 core: GLSL 3.30
    Embedded30, // OpenGL ES 3.0 and WebGL 2: GLSL ES 3.00
};

// The vertex stage every program of the layer shares: it places the vertex by the matrices and
// lights it when asked.
std::string vertexShaderText(Flavour flavour);

// A fragment stage from a body that writes `fragColour`, reads `v_colour` and `v_texCoord`, and
// samples with `TEXTURE(sampler, coordinates)`.
std::string fragmentShaderText(Flavour flavour, const std::string& body);

// A Scene's fragment body made to draw glyphs as well: where `u_glyphs` is set, the fragments
// outside a glyph's coverage in `u_atlas` are dropped and the rest take the Scene's colour.
std::string sceneFragmentShaderText(Flavour flavour, const std::string& body);

// The layer's own fragment bodies: the interpolated colour; a texture's texels, or the colour
// where a glyph atlas covers.
extern const char* const colourFragmentBody;
extern const char* const textureFragmentBody;

} // namespace gfx
