// Glyphs for the screen texts: a font found through fontconfig, rasterized
// with FreeType into one-bit bitmaps that glBitmap draws as they are. No GL
// here; the text pass does the drawing.
#pragma once

#include <cstddef>
#include <string>

#include "render/glyph_bitmap.h"

struct FontFace {
    std::string path;  // empty: no face found
    int index = 0;     // face within a collection file
};

// The first scalable face fontconfig offers for Simplified Chinese that has
// every one of the characters. A language match alone is not enough:
// fontconfig answers with a Latin-only face when no Chinese font is installed.
FontFace findFaceCovering(const std::u32string& characters);

// Opens the face for glyphFor at the given pixel size (em height), dropping
// any earlier face and its glyphs. On failure says why in error.
bool openGlyphFace(const FontFace& face, int pixelSize, std::string& error);

// One rasterized character: its ink and the outline drawn under it.
struct Glyph {
    GlyphBitmap ink;
    GlyphBitmap outline;
    float advance = 0.0f;  // pen movement to the next character
};

// The glyph of a code point, rasterized on its first request and kept. An
// empty glyph when no face is open or FreeType cannot render it.
const Glyph& glyphFor(char32_t codePoint);

// How many times glyphFor has rasterized a glyph, and how many it keeps.
int glyphRasterizations();
std::size_t cachedGlyphCount();
