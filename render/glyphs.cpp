#include "render/glyphs.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "render/baked_glyphs.h"
#include "render/text_layout.h"

namespace {

// glBitmap wants the bottom row first, with the origin measured from the
// bitmap's lower left; the baked rows run top down.
GlyphBitmap bitmapFrom(const BakedGlyph& baked) {
    GlyphBitmap ink;
    ink.width = baked.width;
    ink.height = baked.height;
    ink.xOrigin = static_cast<float>(-baked.left);
    ink.yOrigin = static_cast<float>(baked.height - baked.top);
    const int rowBytes = (ink.width + 7) / 8;
    ink.bits.assign(static_cast<std::size_t>(rowBytes) * ink.height, 0);
    for (int row = 0; row < ink.height; ++row) {
        const char* source = baked.rows + static_cast<std::ptrdiff_t>(row) * ink.width;
        unsigned char* target =
            ink.bits.data() + static_cast<std::ptrdiff_t>(ink.height - 1 - row) * rowBytes;
        for (int x = 0; x < ink.width; ++x) {
            if (source[x] == '#') {
                target[x / 8] |= static_cast<unsigned char>(0x80u >> (x % 8));
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

// A box one pixel inside the advance, from the baseline to about the height
// of a capital.
Glyph missingGlyph(int advance) {
    const int width = advance - 2;
    const int height = kTextPixelSize * 3 / 4;
    std::vector<char> rows(static_cast<std::size_t>(width) * height, '#');
    for (int y = 1; y + 1 < height; ++y) {
        std::fill_n(rows.begin() + y * width + 1, width - 2, '.');
    }
    BakedGlyph box = {};
    box.width = static_cast<std::int16_t>(width);
    box.height = static_cast<std::int16_t>(height);
    box.left = 1;
    box.top = box.height;
    box.rows = rows.data();
    return withOutline(bitmapFrom(box), static_cast<float>(advance));
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
