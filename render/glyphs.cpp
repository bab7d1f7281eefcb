#include "render/glyphs.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "glyphs/baked_glyphs.h"
#include "glyphs/texts.h"

namespace {

// glBitmap wants the bottom row first, with the origin measured from the
// bitmap's lower left; the baked rows run top down.
GlyphBitmap bitmapFrom(const BakedGlyph& baked) {
    GlyphBitmap ink = blankBitmap(baked.width, baked.height);
    ink.xOrigin = static_cast<float>(-baked.left);
    ink.yOrigin = static_cast<float>(baked.height - baked.top);
    for (int row = 0; row < ink.height; ++row) {
        const char* source = baked.rows + static_cast<std::ptrdiff_t>(row) * ink.width;
        for (int x = 0; x < ink.width; ++x) {
            if (source[x] == kBakedInk) {
                setBitAt(ink, x, ink.height - 1 - row);
            }
        }
    }
    return ink;
}

Glyph withOutline(const GlyphBitmap& ink, float advance) {
    Glyph glyph;
    glyph.ink = ink;
    glyph.outline = outlineAround(ink);
    glyph.advance = advance;
    return glyph;
}

// A hollow box one pixel inside the advance on either side, from the
// baseline to about the height of a capital.
Glyph missingGlyph(int advance) {
    GlyphBitmap box = blankBitmap(advance - 2, kTextPixelSize * 3 / 4);
    box.xOrigin = -1.0f;  // its left edge a pixel right of the pen
    for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) {
            if (x == 0 || y == 0 || x == box.width - 1 || y == box.height - 1) {
                setBitAt(box, x, y);
            }
        }
    }
    return withOutline(box, static_cast<float>(advance));
}

std::vector<Glyph> unpackBaked() {
    std::vector<Glyph> glyphs;
    glyphs.reserve(static_cast<std::size_t>(kBakedGlyphCount));
    for (int i = 0; i < kBakedGlyphCount; ++i) {
        const BakedGlyph& baked = kBakedGlyphs[i];
        glyphs.push_back(
            withOutline(bitmapFrom(baked), static_cast<float>(baked.advance64) / 64.0f));
    }
    return glyphs;
}

// Unpacked once, when the program starts: a few dozen small bitmaps.
const std::vector<Glyph> bakedGlyphs = unpackBaked();
const Glyph missingWide = missingGlyph(kTextPixelSize);
const Glyph missingNarrow = missingGlyph(kTextPixelSize / 2);

}  // namespace

const Glyph& glyphFor(std::uint16_t code) {
    const BakedGlyph* end = kBakedGlyphs + kBakedGlyphCount;
    const BakedGlyph* found =
        std::lower_bound(kBakedGlyphs, end, code,
                         [](const BakedGlyph& glyph, std::uint16_t c) { return glyph.code < c; });
    if (found != end && found->code == code) {
        return bakedGlyphs[static_cast<std::size_t>(found - kBakedGlyphs)];
    }
    return code > 0xFF ? missingWide : missingNarrow;
}
