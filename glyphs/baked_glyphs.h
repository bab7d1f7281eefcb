// The glyphs of every character the screen texts can show, rendered from the
// font by the glyph tool here and compiled into the game, which carries them
// and looks up no font when it runs.
#pragma once

#include <cstdint>

// How a table row marks a pixel: ink, or none.
inline constexpr char kBakedInk = '#';
inline constexpr char kBakedBlank = '.';

struct BakedGlyph {
    std::uint16_t code;      // the GBK character: its byte, or lead * 256 + trail
    std::int16_t width;      // of the ink's box, in pixels
    std::int16_t height;     // likewise
    std::int16_t left;       // from the pen to the box's left edge
    std::int16_t top;        // from the baseline up to the box's top row
    std::int32_t advance64;  // pen movement to the next character, in 1/64 pixel
    // height rows of width characters, top row first: kBakedInk or kBakedBlank.
    const char* rows;
};

// Sorted by code.
extern const BakedGlyph kBakedGlyphs[];
extern const int kBakedGlyphCount;
