// The screen texts' glyphs: those the game carries (glyphs/baked_glyphs.h),
// kept as one-bit bitmaps that glBitmap draws as they are, each with its
// outline. No GL here; the text pass does the drawing.
#pragma once

#include <cstdint>

#include "render/glyph_bitmap.h"

// One character: its ink and the outline drawn under it.
struct Glyph {
    GlyphBitmap ink;
    GlyphBitmap outline;
    float advance = 0.0f;  // pen movement to the next character
};

// The glyph of a GBK character code (nextGbkCharacter's). A character the
// game does not carry is a hollow box, a full em wide for a two-byte code
// and half an em for a one-byte code, as wide as such characters are in the
// texts, so the rest of its text keeps its place.
const Glyph& glyphFor(std::uint16_t code);
