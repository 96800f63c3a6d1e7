// Bitmap text as quads from the glyph atlases, each glyph where the raster position put it.
#include "text/text.h"

#include <array>
#include <vector>

#include <GL/glew.h>

#include "gfx/immediate.h"
#include "gfx/texture.h"

namespace {

static struct {
    float rasterX = 0.0f, rasterY = 0.0f; // window pixels
    float rasterDepth = 0.0f;             // device coordinates
    std::array<float, 4> rasterColour{1, 1, 1, 1};
    GLuint atlases[2] = {0, 0};
} state;

// The font's atlas as a one-channel texture, uploaded at its first use.
GLuint atlasTexture(BitmapFont font) {
    GLuint& texture = state.atlases[font == BitmapFont::TimesRoman24 ? 0 : 1];
    if (texture != 0) {
        return texture;
    }
    const AtlasImage& image = atlasImage(font);
    glActiveTexture(gfx::layerTextureUnit);
    texture = gfx::newNearestTexture(GL_CLAMP_TO_EDGE);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // the rows are not whole words long
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, image.width, image.height, 0, GL_RED, GL_UNSIGNED_BYTE,
                 image.coverage.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glActiveTexture(GL_TEXTURE0);
    return texture;
}

} // namespace

BitmapFont timesRoman24() {
    return BitmapFont::TimesRoman24;
}

BitmapFont fixed8By13() {
    return BitmapFont::Fixed8By13;
}

void setRasterPosition(float x, float y) {
    const gfx::Mat4 mvp = gfx::multiply(gfx::projection().top(), gfx::modelview().top());
    const std::array<float, 4> clip = gfx::transformPoint(mvp, x, y, 0.0f);
    state.rasterX = clip[0] / clip[3] * 320.0f + 320.0f;
    state.rasterY = clip[1] / clip[3] * 240.0f + 240.0f;
    state.rasterDepth = clip[2] / clip[3];
    state.rasterColour = gfx::litCurrentColour(x, y, 0.0f);
}

std::array<float, 2> rasterPosition() {
    return {state.rasterX, state.rasterY};
}

void drawText(const std::string& text, BitmapFont font, float x, float y) {
    setRasterPosition(x, y);
    drawCharacters(text, font);
}

void drawCentredText(const std::string& text, BitmapFont font, float y) {
    drawText(text, font, centredX(text, font), y);
}

float centredX(const std::string& text, BitmapFont font) {
    const int width = textLength(font, text);
    // The quotient is taken in double and only then narrowed, which fixes the rounding.
    return static_cast<float>(static_cast<float>(-width) / 640.0);
}

void drawCharacters(const std::string& text, BitmapFont font) {
    const std::vector<GlyphQuad> glyphs = placeGlyphs(font, state.rasterX, state.rasterY, text);
    state.rasterX += static_cast<float>(textLength(font, text));
    if (glyphs.empty()) {
        return;
    }
    // The quads are given in device coordinates of the window, whatever the matrices say.
    gfx::MatrixStack& modelview = gfx::modelview();
    gfx::MatrixStack& projection = gfx::projection();
    modelview.push();
    modelview.loadIdentity();
    projection.push();
    projection.loadIdentity();
    const std::array<float, 4> colour = gfx::currentColour();
    gfx::colour(state.rasterColour[0], state.rasterColour[1], state.rasterColour[2],
                state.rasterColour[3]);
    gfx::setGlyphAtlas(atlasTexture(font));
    gfx::begin(gfx::Primitive::Quads);
    const float z = state.rasterDepth;
    for (const GlyphQuad& glyph : glyphs) {
        const float left = static_cast<float>(glyph.x) / 320.0f - 1.0f;
        const float right = static_cast<float>(glyph.x + glyph.width) / 320.0f - 1.0f;
        const float bottom = static_cast<float>(glyph.y) / 240.0f - 1.0f;
        const float top = static_cast<float>(glyph.y + glyph.height) / 240.0f - 1.0f;
        gfx::texCoord(glyph.u0, glyph.v0);
        gfx::vertex(left, bottom, z);
        gfx::texCoord(glyph.u1, glyph.v0);
        gfx::vertex(right, bottom, z);
        gfx::texCoord(glyph.u1, glyph.v1);
        gfx::vertex(right, top, z);
        gfx::texCoord(glyph.u0, glyph.v1);
        gfx::vertex(left, top, z);
    }
    gfx::end();
    gfx::setGlyphAtlas(0);
    gfx::colour(colour[0], colour[1], colour[2], colour[3]);
    projection.pop();
    modelview.pop();
}
