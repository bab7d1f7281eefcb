// The face the screen texts are drawn in, found and rasterized by the
// system's own font machinery into one-bit glyphs.
#pragma once

#include <string>
#include <vector>

// One character as the system hands it over: one bit a pixel, most
// significant bit leftmost, rows top first, `pitch` bytes apart.
struct RasterGlyph {
    int width = 0;
    int height = 0;
    int pitch = 0;
    int left = 0;  // from the pen to the bitmap's left edge
    int top = 0;   // from the baseline up to the bitmap's top row
    float advance = 0.0f;
    std::vector<unsigned char> rows;
};

// Opens a face that has every one of the characters, at the given pixel size
// (em height), in place of any earlier one. On failure says why in reason.
bool openFaceCovering(const std::u32string& characters, int pixelSize, std::string& reason);

// Rasterizes one character of the open face; false when none is open or the
// face cannot render it.
bool rasterizeGlyph(char32_t codePoint, RasterGlyph& glyph);

// What to tell the player when no installed font has the characters.
const char* missingFontAdvice();
