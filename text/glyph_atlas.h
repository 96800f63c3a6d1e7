// The GLUT bitmap fonts as one picture of glyphs per font, and the window-pixel squares that put
// each glyph of a string exactly where glRasterPos + glutBitmapCharacter put its pixels.
//
// How to draw a string with them, pixel for pixel as glBitmap did:
// - Upload atlasImage(font) once as a one-channel texture (GL_R8 on GL 3.3 and GLES 3.0, GL_ALPHA
//   or GL_LUMINANCE on GL 2.1), its `coverage` bytes as they are: the first row is the bottom one
//   (v = 0). The width is no multiple of 4: set GL_UNPACK_ALIGNMENT to 1 first. Filter with
//   GL_NEAREST both ways and clamp to the edge.
// - The raster position in window pixels is what glRasterPos2f(x, y) made of device coordinates
//   in the 640x480 viewport: ((x + 1) * 320, (y + 1) * 240). GL draws nothing at all for a
//   string whose raster position lies outside the window; the production never places one there.
// - Draw each GlyphQuad as a quad from (x, y) to (x + width, y + height) in window pixels (whole
//   pixels, so every pixel centre samples one texel centre) with (u0, v0) to (u1, v1).
// - Discard every fragment whose coverage is below one half: glBitmap made no fragment for an
//   unset pixel, so nothing there may reach colour or depth. The others take the raster colour
//   (the colour current when the raster position was set), or the Scene's shader colour, and the
//   depth of the raster position.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

enum class BitmapFont { TimesRoman24, Fixed8By13 };

// Every glyph of character codes 0 to 255, each in a cell of its own; 255 = glyph pixel, 0 = not.
// Rows bottom-up.
struct AtlasImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> coverage;
};
const AtlasImage& atlasImage(BitmapFont font);

// One glyph's place in window pixels (origin bottom-left) and its cell in the atlas.
struct GlyphQuad {
    int x = 0, y = 0, width = 0, height = 0;
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

// The glyphs glutBitmapCharacter draws for each byte of `text` in turn, the raster position
// starting at (rasterX, rasterY) in window pixels. As the production passes them (a signed char
// widened to int), bytes 0 and 128-255 draw nothing and do not advance. A glyph without a pixel
// (the space) gets no quad but advances.
std::vector<GlyphQuad> placeGlyphs(BitmapFont font, float rasterX, float rasterY,
                                   std::string_view text);

// What glutBitmapLength says of `text`: the widest of its lines ('\n' ends one) in pixels, up to
// its first NUL, every byte read as unsigned.
int textLength(BitmapFont font, std::string_view text);
