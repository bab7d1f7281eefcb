// The installed font's glyphs, without a display: they depend on the fonts
// the platform offers, so they stay apart from the portable text checks.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "render/glyphs.h"

namespace {

// fontconfig's language match alone offers Latin-only faces too.
TEST(TextFontTest, FontMustHaveEveryCharacter) {
    std::string reason;
    EXPECT_TRUE(openGlyphFace(U"Kestrun\u6E38\u620F", 18, reason)) << reason;
    EXPECT_FALSE(openGlyphFace(U"K\U0010FFFD", 18, reason));
    EXPECT_EQ(reason, "no installed font has the Chinese characters");
    EXPECT_EQ(glyphFor(U'K').advance, 0.0f) << "no face, no glyphs";
}

TEST(TextFontTest, GlyphsMatchTheGlutFontAndRunBottomUp) {
    std::string error;
    ASSERT_TRUE(openGlyphFace(U"T\u6E38", 18, error)) << error;
    const GlyphBitmap& t = glyphFor(U'T').ink;
    EXPECT_GE(t.height, 11);  // Helvetica 18's capitals are 13 pixels tall
    EXPECT_LE(t.height, 15);
    // The T's bar reaches its left edge; its stem does not. Bottom row first.
    EXPECT_TRUE(bitAt(t, 0, t.height - 1));
    EXPECT_FALSE(bitAt(t, 0, 0));
    EXPECT_FLOAT_EQ(glyphFor(U'\u6E38').advance, 18.0f);
}

// The outline of a real glyph covers each of its pixels and their four
// neighbours.
TEST(TextFontTest, OutlineBordersEveryPixelOfARealGlyph) {
    std::string error;
    ASSERT_TRUE(openGlyphFace(U"\u6E38", 18, error)) << error;
    const Glyph& you = glyphFor(U'\u6E38');
    int inked = 0;
    for (int y = 0; y < you.ink.height; ++y) {
        for (int x = 0; x < you.ink.width; ++x) {
            if (bitAt(you.ink, x, y)) {
                ++inked;
                for (const auto& [dx, dy] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    EXPECT_TRUE(bitAt(you.outline, x + 1 + dx, y + 1 + dy)) << x << "," << y;
                }
            }
        }
    }
    EXPECT_GT(inked, 60);
}

}  // namespace
