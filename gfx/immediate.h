// The drawing layer: immediate-mode calls (begin, colour, texture coordinate, vertex, end) over
// one vertex buffer and a handful of shader programs, with the matrix stacks, the light and the
// programs the Scenes used to set through the fixed-function pipeline. Needs a current context.
#pragma once

#include <array>
#include <string>

#include <GL/glew.h>

#include "gfx/matrix.h"
#include "gfx/primitives.h"

namespace gfx {

MatrixStack& modelview();
MatrixStack& projection();

// Vertices between begin and end are drawn at end, with the state then in force.
void begin(Primitive primitive);
void colour(float r, float g, float b, float a = 1.0f); // also outside begin: the current colour
void texCoord(float u, float v);
void vertex(float x, float y, float z = 0.0f);
void end();

// The colour the next vertex takes unless another is given; white at first.
std::array<float, 4> currentColour();
// The current colour as the light shows it at the point (x, y, z), when lighting is on.
std::array<float, 4> litCurrentColour(float x, float y, float z);

void setShading(Shading shading);
// Filled primitives are drawn as their outlines while set, as a polygon mode of lines drew them.
void setOutline(bool outline);
// Lights what follows with one positional light at `eyePosition` (homogeneous eye coordinates);
// off: the vertex colours as they are.
void setLighting(bool enabled, const std::array<float, 4>& eyePosition = {0, 0, 1, 0});
bool lightingEnabled();
std::array<float, 4> lightPosition();

// A Scene's program (made with linkSceneProgram) colours what follows instead of the layer's
// own programs, and its glyph variant the glyphs; 0 puts the layer's back.
void useSceneProgram(GLuint program, GLuint glyphProgram = 0);
GLuint sceneProgram();
GLuint sceneGlyphProgram();
// Links a Scene's fragment body with the layer's vertex stage; the glyph variant also drops the
// fragments a glyph atlas leaves uncovered (a separate program, so that the Scene's own pixels
// pay no atlas look-up).
GLuint linkSceneProgram(const std::string& fragmentBody, bool glyphVariant);

// What follows shows the texture's texels (on the layer's own texture unit) instead of its
// colours; 0 turns texturing off.
void setTexture(GLuint texture);
// What follows is masked by a glyph atlas (coverage in the red channel): only covered pixels are
// drawn, in the current colour or the Scene program's; 0 turns the mask off.
void setGlyphAtlas(GLuint atlas);
// The texture unit the layer's textures and atlases are bound on, apart from the Scenes' own.
constexpr GLenum layerTextureUnit = GL_TEXTURE1;

} // namespace gfx
