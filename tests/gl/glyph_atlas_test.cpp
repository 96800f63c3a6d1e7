// The glyph atlases on real OpenGL: the text drawn from a raster position has the pixels the atlas
// and the glyph placement give, painted here on the processor, and the widths are
// glutBitmapLength's.
#include "gl_support.h"

#include <string>
#include <utility>

#include <GL/freeglut.h>

#include "text/glyph_atlas.h"
#include "text/lines.h"
#include "text/text.h"

namespace {

constexpr Rgb white{255, 255, 255};

struct Font {
    BitmapFont atlas;
    void* glut;
};

std::vector<Font> fonts() {
    return {{BitmapFont::TimesRoman24, GLUT_BITMAP_TIMES_ROMAN_24},
            {BitmapFont::Fixed8By13, GLUT_BITMAP_8_BY_13}};
}

// Whites the pixels of `text`'s glyphs as a textured quad with nearest filtering shows them: each
// pixel centre's interpolated texture coordinate picks one texel.
void paintGlyphs(Picture& picture, BitmapFont font, float rasterX, float rasterY,
                 std::string_view text) {
    const AtlasImage& image = atlasImage(font);
    for (const GlyphQuad& quad : placeGlyphs(font, rasterX, rasterY, text)) {
        for (int row = 0; row < quad.height; ++row) {
            for (int column = 0; column < quad.width; ++column) {
                const float u = quad.u0 + (quad.u1 - quad.u0) * (column + 0.5f) / quad.width;
                const float v = quad.v0 + (quad.v1 - quad.v0) * (row + 0.5f) / quad.height;
                const int texel = static_cast<int>(v * image.height) * image.width +
                                  static_cast<int>(u * image.width);
                const int x = quad.x + column, y = quad.y + row;
                if (image.coverage[texel] == 255 && x >= 0 && x < 640 && y >= 0 && y < 480) {
                    std::fill_n(picture.begin() + (y * 640 + x) * 3, 3, 255);
                }
            }
        }
    }
}

// How many pixels differ, with the first few named in `where`.
int differences(const Picture& drawn, const Picture& expected, std::string& where) {
    int count = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (!(pixelAt(drawn, x, y) == pixelAt(expected, x, y)) && ++count <= 5) {
                where += " (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
    }
    return count;
}

// Lines of every printable character, then some bytes the production never prints: control
// codes, which draw their glyphs; NUL, and the bytes above DEL, which draw nothing.
std::vector<std::string> sampleLines() {
    std::vector<std::string> lines(1);
    for (char c = ' '; c <= '~'; ++c) {
        if (lines.back().size() == 24) {
            lines.emplace_back();
        }
        lines.back() += c;
    }
    lines.push_back(std::string("a\x01\x02\x1f|\x7f\x80\xa0\xc9\xff|\0z\tq\x10\n", 17));
    return lines;
}

using GlyphAtlas = testing::Test;

TEST_F(GlyphAtlas, GlyphsLandOnTheirPixelsAtEveryRasterPosition) {
    // Device coordinates as the production gives them, whole and fractional pixels, and lines
    // running off the right, the bottom and the top of the window.
    const std::pair<float, float> devicePositions[] = {
        {-0.55f, 0.51f}, {0.15f, -0.21f}, {-0.9f, 0.72f}, {0.6f, -0.49f},
        {-1.0f, -1.0f},  {0.3f, 0.97f},   {0.75f, 0.13f}};
    for (const Font& font : fonts()) {
        const std::vector<std::string> lines = sampleLines();
        for (std::size_t first = 0; first < lines.size(); ++first) {
            resetFrame();
            Picture expected(640 * 480 * 3, 0);
            // Each position draws another line, so that every line meets several positions.
            for (std::size_t i = 0; i < std::size(devicePositions); ++i) {
                const auto [x, y] = devicePositions[i];
                const std::string& line = lines[(first + i) % lines.size()];
                drawText(line, font.atlas, x, y);
                paintGlyphs(expected, font.atlas, (x + 1) * 320, (y + 1) * 240, line);
            }
            const Picture drawn = readBackBuffer();
            ASSERT_GT(litArea(drawn)[4], 1000) << "too little drawn to compare";
            std::string where;
            EXPECT_EQ(differences(drawn, expected, where), 0)
                << "font " << static_cast<int>(font.atlas) << ", first line " << first
                << ", first differing pixels" << where;
        }
    }
}

TEST_F(GlyphAtlas, TheProductionsLinesLandOnTheirPixels) {
    const std::pair<std::string*, float> centred[] = {
        {&personalGreetHeading, -0.2f}, {&personalGreetLine1, -0.3f}, {&personalGreetLine2, -0.4f}};
    for (const auto& [line, y] : centred) {
        resetFrame();
        drawCentredText(*line, fixed8By13(), y);
        drawCentredText(releaseLine, timesRoman24(), 0.0f);
        drawText(creditGraphicsTitle, timesRoman24(), -0.55f, 0.51f);
        Picture expected(640 * 480 * 3, 0);
        const float greetX = 320 - textLength(BitmapFont::Fixed8By13, *line) / 2.0f;
        paintGlyphs(expected, BitmapFont::Fixed8By13, greetX, (y + 1) * 240, *line);
        const float releaseX = 320 - textLength(BitmapFont::TimesRoman24, releaseLine) / 2.0f;
        paintGlyphs(expected, BitmapFont::TimesRoman24, releaseX, 240, releaseLine);
        paintGlyphs(expected, BitmapFont::TimesRoman24, 0.45f * 320, 1.51f * 240,
                    creditGraphicsTitle);
        std::string where;
        EXPECT_EQ(differences(readBackBuffer(), expected, where), 0) << *line << where;
    }
}

TEST_F(GlyphAtlas, LengthsAreGlutBitmapLengths) {
    std::string everyByte;
    for (int code = 1; code < 256; ++code) {
        everyByte += static_cast<char>(code);
    }
    const std::string texts[] = {everyByte,
                                 "",
                                 "the longest line\nshort\nmid",
                                 "a line that ends\n",
                                 std::string("before\0after", 12),
                                 personalGreetHeading,
                                 creditGraphicsTitle};
    for (const Font& font : fonts()) {
        for (const std::string& text : texts) {
            EXPECT_EQ(
                textLength(font.atlas, text),
                glutBitmapLength(font.glut, reinterpret_cast<const unsigned char*>(text.c_str())))
                << static_cast<int>(font.atlas) << ' ' << text;
        }
    }
}

} // namespace
