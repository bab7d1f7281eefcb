// One-bit glyph bitmaps as glBitmap takes them, and the dark outline that
// keeps a text readable on any background. No GL and no font library here.
#pragma once

#include <vector>

struct GlyphBitmap {
    int width = 0;
    int height = 0;
    float xOrigin = 0.0f;  // from the left edge of the bitmap to the pen
    float yOrigin = 0.0f;  // from the bottom row of the bitmap to the baseline
    // Rows packed as glyphs/packed_bits.h says, without padding, bottom row
    // first.
    std::vector<unsigned char> bits;
};

// A bitmap of the given size with no pixel set, its origin at its lower left.
GlyphBitmap blankBitmap(int width, int height);

// Whether the pixel at column x, row y (bottom row 0) is set; false outside.
bool bitAt(const GlyphBitmap& bitmap, int x, int y);

// Sets the pixel at column x, row y (bottom row 0), which lies inside.
void setBitAt(GlyphBitmap& bitmap, int x, int y);

// The glyph grown by one pixel left, right, up and down, placed so that it
// lies under the glyph at the same pen position: drawn first in a dark
// colour, it borders every edge of the glyph that is drawn over it.
GlyphBitmap outlineAround(const GlyphBitmap& glyph);
