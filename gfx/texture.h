// Textures the layer's programs sample texel for texel: every picture the production draws from
// memory (glyphs, the backdrop, the random field, a captured picture) is read at whole texels.
#pragma once

#include <GL/glew.h>

namespace gfx {

// Creates a 2D texture and binds it to the active unit, sampled at the nearest texel, repeating
// or clamped at its edges as `wrap` says.
GLuint newNearestTexture(GLenum wrap);

} // namespace gfx
