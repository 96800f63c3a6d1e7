// The glyph pictures of the bitmap fonts and the placement of a string's glyphs as glBitmap does.
#include "text/glyph_atlas.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "text/bitmap_fonts.h"

namespace {

constexpr int cellsPerRow = 16; // 16 x 16 cells hold the 256 character codes

struct Atlas {
    AtlasImage image;
    int cellWidth = 0;
    std::array<bool, 256> inked{}; // whether the glyph has a pixel at all
};

int glyphWidth(const std::uint8_t* glyph) {
    return glyph[0];
}

bool pixelSet(const std::uint8_t* glyph, int column, int row) {
    const int bytesPerRow = (glyphWidth(glyph) + 7) / 8;
    const std::uint8_t byte = glyph[1 + row * bytesPerRow + column / 8];
    return (byte >> (7 - column % 8)) & 1;
}

// Character c's cell: column c % 16 and row c / 16, counted from the bottom-left.
Atlas makeAtlas(const BitmapFontTable& table) {
    Atlas atlas;
    for (const std::uint8_t* glyph : table.glyphs) {
        atlas.cellWidth = std::max(atlas.cellWidth, glyphWidth(glyph));
    }
    AtlasImage& image = atlas.image;
    image.width = cellsPerRow * atlas.cellWidth;
    image.height = 256 / cellsPerRow * table.height;
    image.coverage.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    for (int code = 0; code < 256; ++code) {
        const std::uint8_t* glyph = table.glyphs[code];
        const int left = code % cellsPerRow * atlas.cellWidth;
        const int bottom = code / cellsPerRow * table.height;
        for (int row = 0; row < table.height; ++row) {
            for (int column = 0; column < glyphWidth(glyph); ++column) {
                if (pixelSet(glyph, column, row)) {
                    image.coverage[static_cast<std::size_t>(bottom + row) * image.width + left +
                                   column] = 255;
                    atlas.inked[code] = true;
                }
            }
        }
    }
    return atlas;
}

const BitmapFontTable& fontTable(BitmapFont font) {
    return font == BitmapFont::TimesRoman24 ? timesRoman24Table : fixed8By13Table;
}

const Atlas& atlas(BitmapFont font) {
    static const Atlas timesRoman24 = makeAtlas(timesRoman24Table);
    static const Atlas fixed8By13 = makeAtlas(fixed8By13Table);
    return font == BitmapFont::TimesRoman24 ? timesRoman24 : fixed8By13;
}

// glBitmap's first pixel: Mesa floors the raster position less the origin after adding this, so
// that a position a rounding error under a whole pixel counts as that pixel.
constexpr float bitmapEpsilon = 0.0001f;

int firstPixel(float raster, float origin) {
    return static_cast<int>(std::floor(raster + bitmapEpsilon - origin));
}

} // namespace

const AtlasImage& atlasImage(BitmapFont font) {
    return atlas(font).image;
}

std::vector<GlyphQuad> placeGlyphs(BitmapFont font, float rasterX, float rasterY,
                                   std::string_view text) {
    const BitmapFontTable& table = fontTable(font);
    const Atlas& cells = atlas(font);
    const auto atlasWidth = static_cast<float>(cells.image.width);
    const auto atlasHeight = static_cast<float>(cells.image.height);
    std::vector<GlyphQuad> quads;
    for (const char byte : text) {
        // glutBitmapCharacter ignores codes outside 1-255, and a byte above 127 comes as negative.
        const int code = static_cast<signed char>(byte);
        if (code < 1) {
            continue;
        }
        const int width = glyphWidth(table.glyphs[code]);
        if (cells.inked[code]) {
            const int left = code % cellsPerRow * cells.cellWidth;
            const int bottom = code / cellsPerRow * table.height;
            quads.push_back({firstPixel(rasterX, table.xorig), firstPixel(rasterY, table.yorig),
                             width, table.height, left / atlasWidth, bottom / atlasHeight,
                             (left + width) / atlasWidth, (bottom + table.height) / atlasHeight});
        }
        // The advance is added to the float raster position, as glBitmap does.
        rasterX += static_cast<float>(width);
    }
    return quads;
}

int textLength(BitmapFont font, std::string_view text) {
    const BitmapFontTable& table = fontTable(font);
    int widest = 0;
    int line = 0;
    for (const char byte : text) {
        if (byte == '\0') {
            break;
        }
        if (byte == '\n') {
            widest = std::max(widest, line);
            line = 0;
        } else {
            line += glyphWidth(table.glyphs[static_cast<unsigned char>(byte)]);
        }
    }
    return std::max(widest, line);
}
