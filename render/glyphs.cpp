#include "render/glyphs.h"

#include <algorithm>
#include <unordered_map>

#include "platform/glyph_source.h"
#include "render/diagnostics.h"

namespace {

bool faceOpen = false;
std::unordered_map<char32_t, Glyph> glyphs;
int rasterizations = 0;
const Glyph kEmptyGlyph;

// The system's rows run top down; glBitmap wants the bottom row first, with
// the origin measured from the bitmap's lower left.
GlyphBitmap bitmapFrom(const RasterGlyph& raster) {
    GlyphBitmap ink;
    ink.width = raster.width;
    ink.height = raster.height;
    ink.xOrigin = static_cast<float>(-raster.left);
    ink.yOrigin = static_cast<float>(raster.height - raster.top);
    const int rowBytes = (ink.width + 7) / 8;
    ink.bits.resize(static_cast<std::size_t>(rowBytes) * ink.height);
    for (int row = 0; row < ink.height; ++row) {
        const unsigned char* source = raster.rows.data() + static_cast<long>(row) * raster.pitch;
        unsigned char* target =
            ink.bits.data() + static_cast<long>(ink.height - 1 - row) * rowBytes;
        std::copy(source, source + rowBytes, target);
    }
    return ink;
}

Glyph rasterize(char32_t codePoint) {
    ++rasterizations;
    RasterGlyph raster;
    if (!rasterizeGlyph(codePoint, raster)) {
        return {};
    }
    Glyph glyph;
    glyph.ink = bitmapFrom(raster);
    glyph.outline = outlineAround(glyph.ink);
    glyph.advance = raster.advance;
    return glyph;
}

}  // namespace

bool openGlyphFace(const std::u32string& characters, int pixelSize, std::string& reason) {
    glyphs.clear();
    faceOpen = openFaceCovering(characters, pixelSize, reason);
    return faceOpen;
}

const Glyph& glyphFor(char32_t codePoint) {
    auto found = glyphs.find(codePoint);
    if (found == glyphs.end()) {
        if (!faceOpen) {
            return kEmptyGlyph;
        }
        found = glyphs.emplace(codePoint, rasterize(codePoint)).first;
    }
    return found->second;
}

int glyphRasterizations() {
    return rasterizations;
}

std::size_t cachedGlyphCount() {
    return glyphs.size();
}
