// Glyphs for the screen texts: a face the system finds and rasterizes
// (platform/glyph_source.h), kept as one-bit bitmaps that glBitmap draws as
// they are, each with its outline. No GL here; the text pass does the drawing.
#pragma once

#include <string>

#include "render/glyph_bitmap.h"

// Opens a face that has every one of the characters for glyphFor, at the
// given pixel size (em height), dropping any earlier face and its glyphs. On
// failure says why in reason.
bool openGlyphFace(const std::u32string& characters, int pixelSize, std::string& reason);

// One rasterized character: its ink and the outline drawn under it.
struct Glyph {
    GlyphBitmap ink;
    GlyphBitmap outline;
    float advance = 0.0f;  // pen movement to the next character
};

// The glyph of a code point, rasterized on its first request and kept. An
// empty glyph when no face is open or the face cannot render it.
const Glyph& glyphFor(char32_t codePoint);
