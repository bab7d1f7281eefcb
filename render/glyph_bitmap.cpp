#include "render/glyph_bitmap.h"

#include <cstddef>

namespace {

int rowBytes(int width) {
    return (width + 7) / 8;
}

void setBit(GlyphBitmap& bitmap, int x, int y) {
    const std::size_t at = static_cast<std::size_t>(y) * rowBytes(bitmap.width) + x / 8;
    bitmap.bits[at] |= static_cast<unsigned char>(0x80u >> (x % 8));
}

}  // namespace

bool bitAt(const GlyphBitmap& bitmap, int x, int y) {
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) {
        return false;
    }
    const std::size_t at = static_cast<std::size_t>(y) * rowBytes(bitmap.width) + x / 8;
    return (bitmap.bits[at] & (0x80u >> (x % 8))) != 0;
}

GlyphBitmap outlineAround(const GlyphBitmap& glyph) {
    GlyphBitmap outline;
    if (glyph.width <= 0 || glyph.height <= 0) {
        outline.xOrigin = glyph.xOrigin;
        outline.yOrigin = glyph.yOrigin;
        return outline;
    }
    outline.width = glyph.width + 2;
    outline.height = glyph.height + 2;
    outline.xOrigin = glyph.xOrigin + 1.0f;
    outline.yOrigin = glyph.yOrigin + 1.0f;
    outline.bits.assign(static_cast<std::size_t>(rowBytes(outline.width)) * outline.height, 0);
    // Outline pixel (x, y) lies over glyph pixel (x - 1, y - 1).
    for (int y = 0; y < outline.height; ++y) {
        for (int x = 0; x < outline.width; ++x) {
            const int gx = x - 1;
            const int gy = y - 1;
            if (bitAt(glyph, gx, gy) || bitAt(glyph, gx - 1, gy) || bitAt(glyph, gx + 1, gy) ||
                bitAt(glyph, gx, gy - 1) || bitAt(glyph, gx, gy + 1)) {
                setBit(outline, x, y);
            }
        }
    }
    return outline;
}
