#include <gtest/gtest.h>

#include <string>

#include "render/text_decode.h"
#include "render/text_layout.h"

namespace {

TEST(TextDecodeTest, EveryScreenTextDecodesToItsCharacters) {
    ASSERT_TRUE(gbkDecoderAvailable());
    EXPECT_EQ(decodeGbk(kTitleText), U"Kestrun\u6E38\u620F");
    EXPECT_EQ(decodeGbk(kStartPromptText), U"\u6309 S \u5F00\u59CB\u6E38\u620F");
    EXPECT_EQ(decodeGbk(kSidewaysText), U"A/D \u6216 \u2190/\u2192 \u5DE6\u53F3\u79FB\u52A8");
    EXPECT_EQ(decodeGbk(kSpeedKeysText), U"W/S \u6216 \u2191/\u2193 \u52A0\u901F\u51CF\u901F");
    EXPECT_EQ(decodeGbk(kEscapeText), U"ESC \u9000\u51FA");
    EXPECT_EQ(decodeGbk(kScoreFormat), U"\u5206\u6570: %d");
    EXPECT_EQ(decodeGbk(kSpeedFormat), U"\u901F\u5EA6: %.0f");
    EXPECT_EQ(decodeGbk(kGameOverFormat), U"\u6E38\u620F\u7ED3\u675F  \u5206\u6570: %d");
    EXPECT_EQ(decodeGbk(kRestartText), U"\u6309 R \u91CD\u65B0\u5F00\u59CB");
    EXPECT_EQ(decodeGbk(kMenuPromptText), U"\u6309 M \u8FD4\u56DE\u83DC\u5355");
}

// drawText takes any bytes: what is not GBK must neither stop the line nor
// read past its end.
TEST(TextDecodeTest, BadBytesBecomeReplacementsAndDecodingGoesOn) {
    EXPECT_EQ(decodeGbk(""), U"");
    EXPECT_EQ(decodeGbk("a\xFF"
                        "b"),
              U"a\uFFFDb");
    EXPECT_EQ(decodeGbk("\xFF\xFF\xD3\xCE"), U"\uFFFD\uFFFD\u6E38");
    // A lead byte cut off by the end of the string.
    EXPECT_EQ(decodeGbk("ok\xD3"), U"ok\uFFFD");
    // A lead byte followed by a byte that cannot complete it.
    EXPECT_EQ(decodeGbk("\xD3\x0A"
                        "x"),
              U"\uFFFD\nx");
}

TEST(TextDecodeTest, DecodingIntoAStringReplacesItsContent) {
    std::u32string out = U"left over from before, longer than the text";
    decodeGbkInto(kEscapeText, out);
    EXPECT_EQ(out, U"ESC \u9000\u51FA");
}

TEST(TextDecodeTest, CacheDecodesEachTextOnceWhileItIsInUse) {
    const int before = decodedTextMisses();
    for (int frame = 0; frame < 10; ++frame) {
        EXPECT_EQ(decodedText(kTitleText), U"Kestrun\u6E38\u620F");
        EXPECT_EQ(decodedText(kEscapeText), U"ESC \u9000\u51FA");
    }
    EXPECT_LE(decodedTextMisses() - before, 2);

    // Same bytes at another address are the same text.
    const std::string copy = kTitleText;
    const int warm = decodedTextMisses();
    EXPECT_EQ(decodedText(copy.c_str()), U"Kestrun\u6E38\u620F");
    EXPECT_EQ(decodedTextMisses(), warm);
}

// A score that changes every tick keeps making new texts: they recycle the
// oldest entries and never hand back another text's characters.
TEST(TextDecodeTest, ChangingTextsRecycleTheOldestEntries) {
    std::string text;
    for (int score = 0; score < 3 * kDecodedTextSlots; ++score) {
        text = "score " + std::to_string(score);
        const std::u32string& decoded = decodedText(text.c_str());
        EXPECT_EQ(decoded, U"score " + std::u32string(text.begin() + 6, text.end()));
        // The line drawn every frame stays decoded among the changing ones.
        decodedText(kTitleText);
    }
    const int before = decodedTextMisses();
    decodedText(kTitleText);
    EXPECT_EQ(decodedTextMisses(), before);
    decodedText("score 0");
    EXPECT_EQ(decodedTextMisses(), before + 1);
}

}  // namespace
