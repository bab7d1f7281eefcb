#include "render/glyph_bitmap.h"

#include <cstddef>

#include "glyphs/packed_bits.h"

namespace {

std::size_t rowStart(const GlyphBitmap& bitmap, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(packedRowBytes(bitmap.width));
}

}  // namespace

GlyphBitmap blankBitmap(int width, int height) {
    GlyphBitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bits.assign(rowStart(bitmap, height), 0);
    return bitmap;
}

bool bitAt(const GlyphBitmap& bitmap, int x, int y) {
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) {
        return false;
    }
    return packedBitAt(bitmap.bits.data() + rowStart(bitmap, y), x);
}

void setBitAt(GlyphBitmap& bitmap, int x, int y) {
    setPackedBit(bitmap.bits.data() + rowStart(bitmap, y), x);
}

GlyphBitmap outlineAround(const GlyphBitmap& glyph) {
    if (glyph.width <= 0 || glyph.height <= 0) {
        GlyphBitmap outline;
        outline.xOrigin = glyph.xOrigin;
        outline.yOrigin = glyph.yOrigin;
        return outline;
    }
    GlyphBitmap outline = blankBitmap(glyph.width + 2, glyph.height + 2);
    outline.xOrigin = glyph.xOrigin + 1.0f;
    outline.yOrigin = glyph.yOrigin + 1.0f;
    // Outline pixel (x, y) lies over glyph pixel (x - 1, y - 1).
    for (int y = 0; y < outline.height; ++y) {
        for (int x = 0; x < outline.width; ++x) {
            const int gx = x - 1;
            const int gy = y - 1;
            if (bitAt(glyph, gx, gy) || bitAt(glyph, gx - 1, gy) || bitAt(glyph, gx + 1, gy) ||
                bitAt(glyph, gx, gy - 1) || bitAt(glyph, gx, gy + 1)) {
                setBitAt(outline, x, y);
            }
        }
    }
    return outline;
}
