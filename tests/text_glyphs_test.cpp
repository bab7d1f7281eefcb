#include <gtest/gtest.h>

#include <bitset>
#include <string>

#include "render/glyphs.h"

namespace {

const std::u32string kTitleCharacters = U"Kestrun\u6E38\u620F";

int setBits(const Glyph& glyph, int rowFromBottom) {
    const int rowBytes = (glyph.width + 7) / 8;
    int count = 0;
    for (int i = 0; i < rowBytes; ++i) {
        count += static_cast<int>(std::bitset<8>(glyph.bits[rowFromBottom * rowBytes + i]).count());
    }
    return count;
}

class GlyphsTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const FontFace face = findFaceCovering(kTitleCharacters);
        ASSERT_FALSE(face.path.empty()) << "no Chinese font installed (fonts-wqy-microhei)";
        std::string error;
        ASSERT_TRUE(openGlyphFace(face, 18, error)) << error;
    }
};

TEST_F(GlyphsTest, FontMustHaveEveryCharacterNotJustTheLanguage) {
    // No font has a plane-16 private-use character, whatever it claims.
    EXPECT_TRUE(findFaceCovering(U"K\U0010FFFD").path.empty());
    EXPECT_TRUE(findFaceCovering(U"\u6E38\U0010FFFD").path.empty());
}

TEST_F(GlyphsTest, ChineseCharacterFillsAboutTheEmSquare) {
    const Glyph& glyph = glyphFor(U'\u6E38');
    EXPECT_GE(glyph.width, 12);
    EXPECT_LE(glyph.width, 19);
    EXPECT_GE(glyph.height, 12);
    EXPECT_LE(glyph.height, 20);
    EXPECT_GE(glyph.advance, 16.0f);
    EXPECT_LE(glyph.advance, 19.0f);
    ASSERT_EQ(glyph.bits.size(), static_cast<std::size_t>((glyph.width + 7) / 8 * glyph.height));
    int lit = 0;
    for (int row = 0; row < glyph.height; ++row) {
        lit += setBits(glyph, row);
    }
    EXPECT_GT(lit, glyph.width * glyph.height / 8);
}

TEST_F(GlyphsTest, LatinLettersSitOnTheBaselineAtTheGlutFontsSize) {
    const Glyph& k = glyphFor(U'K');
    // Helvetica 18's capitals are 13 pixels tall.
    EXPECT_GE(k.height, 11);
    EXPECT_LE(k.height, 15);
    EXPECT_FLOAT_EQ(k.yOrigin, 0.0f);
    const Glyph& y = glyphFor(U'y');
    EXPECT_GT(y.yOrigin, 0.0f) << "a descender reaches below the baseline";
}

// glBitmap starts at the bottom row: the T's bar must be stored last.
TEST_F(GlyphsTest, RowsAreStoredBottomFirst) {
    const Glyph& t = glyphFor(U'T');
    ASSERT_GT(t.height, 2);
    EXPECT_GT(setBits(t, t.height - 1), 2 * setBits(t, 0));
}

TEST_F(GlyphsTest, SpaceAdvancesWithoutPixels) {
    const Glyph& space = glyphFor(U' ');
    EXPECT_TRUE(space.bits.empty() || setBits(space, 0) == 0);
    EXPECT_GT(space.advance, 2.0f);
}

TEST_F(GlyphsTest, EachCodePointIsRasterizedOnce) {
    const int before = glyphRasterizations();
    const std::size_t cachedBefore = cachedGlyphCount();
    for (int repeat = 0; repeat < 5; ++repeat) {
        for (char32_t c : U"\u9000\u51FA\u9000") {
            glyphFor(c);
        }
    }
    // Two characters plus the terminator the loop also visits, at most.
    EXPECT_LE(glyphRasterizations() - before, 3);
    EXPECT_EQ(static_cast<std::size_t>(glyphRasterizations() - before),
              cachedGlyphCount() - cachedBefore);
}

}  // namespace
