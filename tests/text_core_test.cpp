// The screen texts without a display: bytes, formats, layout, decoding and
// the outline; the same on every platform.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "render/diagnostics.h"
#include "render/glyphs.h"
#include "render/text_decode.h"
#include "render/text_layout.h"

namespace {

std::string hexBytes(const char* text) {
    std::string hex;
    for (const char* c = text; *c != '\0'; ++c) {
        char byte[4];
        std::snprintf(byte, sizeof byte, " %02X", static_cast<unsigned char>(*c));
        hex += byte;
    }
    return hex.substr(1);
}

struct TextRow {
    const char* text;
    const char* bytes;
    std::u32string characters;
};

// Bytes as the game's design tables give them, typed apart from the escapes.
const TextRow kRows[] = {
    {kTitleText, "4B 65 73 74 72 75 6E D3 CE CF B7", U"Kestrun\u6E38\u620F"},
    {kStartPromptText, "B0 B4 20 53 20 BF AA CA BC D3 CE CF B7",
     U"\u6309 S \u5F00\u59CB\u6E38\u620F"},
    {kSidewaysText, "41 2F 44 20 BB F2 20 A1 FB 2F A1 FA 20 D7 F3 D3 D2 D2 C6 B6 AF",
     U"A/D \u6216 \u2190/\u2192 \u5DE6\u53F3\u79FB\u52A8"},
    {kSpeedKeysText, "57 2F 53 20 BB F2 20 A1 FC 2F A1 FD 20 BC D3 CB D9 BC F5 CB D9",
     U"W/S \u6216 \u2191/\u2193 \u52A0\u901F\u51CF\u901F"},
    {kEscapeText, "45 53 43 20 CD CB B3 F6", U"ESC \u9000\u51FA"},
    {kScoreFormat, "B7 D6 CA FD 3A 20 25 64", U"\u5206\u6570: %d"},
    {kSpeedFormat, "CB D9 B6 C8 3A 20 25 2E 30 66", U"\u901F\u5EA6: %.0f"},
    {kGameOverFormat, "D3 CE CF B7 BD E1 CA F8 20 20 B7 D6 CA FD 3A 20 25 64",
     U"\u6E38\u620F\u7ED3\u675F  \u5206\u6570: %d"},
    {kRestartText, "B0 B4 20 52 20 D6 D8 D0 C2 BF AA CA BC", U"\u6309 R \u91CD\u65B0\u5F00\u59CB"},
    {kMenuPromptText, "B0 B4 20 4D 20 B7 B5 BB D8 B2 CB B5 A5",
     U"\u6309 M \u8FD4\u56DE\u83DC\u5355"},
};

TEST(TextCoreTest, EachTextIsItsGbkBytesAndDecodesToItsCharacters) {
    for (const TextRow& row : kRows) {
        EXPECT_EQ(hexBytes(row.text), row.bytes);
        EXPECT_EQ(decodeGbk(row.text), row.characters) << row.bytes;
    }
}

TEST(TextCoreTest, NumbersFormatWithoutDecimals) {
    char text[kHudTextBytes];
    formatScore(text, sizeof text, 0);
    EXPECT_EQ(hexBytes(text), "B7 D6 CA FD 3A 20 30");
    formatSpeed(text, sizeof text, 17.6f);
    EXPECT_EQ(decodeGbk(text), U"\u901F\u5EA6: 18");
    formatSpeed(text, sizeof text, 8.0f);
    EXPECT_EQ(decodeGbk(text), U"\u901F\u5EA6: 8");
}

TEST(TextCoreTest, PhasesPlaceTheirLinesFromHalfTheWindowInOrder) {
    GameState state;
    state.windowWidth = 801;  // halves in integer division: 400 and 300
    state.windowHeight = 601;
    const HudLayout menu = layoutHud(state);
    const int menuAt[][2] = {{330, 340}, {310, 300}, {270, 270}, {280, 240}, {330, 210}};
    ASSERT_EQ(menu.count, 5);
    for (int i = 0; i < menu.count; ++i) {
        EXPECT_EQ(menu.lines[i].x, menuAt[i][0]);
        EXPECT_EQ(menu.lines[i].y, menuAt[i][1]);
        EXPECT_STREQ(menu.lines[i].text, kRows[i].text);
    }
    state.phase = GamePhase::GameOver;
    state.score = 4321;
    const HudLayout over = layoutHud(state);
    ASSERT_EQ(over.count, 4);
    EXPECT_EQ(hexBytes(over.lines[0].text).substr(48), "34 33 32 31");
    EXPECT_EQ(over.lines[0].y - over.lines[3].y, 90);
    EXPECT_EQ(over.lines[3].x, 340);
    EXPECT_STREQ(over.lines[2].text, kMenuPromptText);
}

// drawText takes any bytes: what is not GBK must neither end the line early
// nor read past its end.
TEST(TextCoreTest, BadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(decodeGbk("a\xFF-"), U"a\uFFFD-");
    EXPECT_EQ(decodeGbk("ok\xD3"), U"ok\uFFFD");
    EXPECT_EQ(decodeGbk("\xD3\nx"), U"\uFFFD\nx");
}

// Code page 936 and iconv's GBK part at the edges: the euro sign's single
// byte, and the pairs iconv assigns nothing (user-defined areas, the end of
// GB2312's last row). Every platform shows the same characters.
TEST(TextCoreTest, GbkEdgesDecodeAlikeEverywhere) {
    EXPECT_EQ(decodeGbk("\x80"), U"\u20AC");
    EXPECT_EQ(decodeGbk("\xAA\xA1x"), U"\uFFFD\uFFFDx");
    EXPECT_EQ(decodeGbk("\xA1\x40x"), U"\uFFFD@x");
    EXPECT_EQ(decodeGbk("\xFE\xFEx"), U"\uFFFD\uFFFDx");
    EXPECT_EQ(decodeGbk("\xD7\xFAx"), U"\uFFFD\u9DDB");  // FA 78 is a character
}

// A score changing every tick recycles the oldest entries; a line shown
// every frame stays decoded.
TEST(TextCoreTest, TextsInUseAreDecodedOnce) {
    for (int score = 0; score < 3 * kDecodedTextSlots; ++score) {
        const std::string text = "score " + std::to_string(score);
        EXPECT_EQ(decodedText(text.c_str()), decodeGbk(text.c_str()));
        EXPECT_EQ(decodedText(kTitleText), U"Kestrun\u6E38\u620F");
    }
    const int misses = decodedTextMisses();
    decodedText(std::string(kTitleText).c_str());
    EXPECT_EQ(decodedTextMisses(), misses);
    decodedText("score 0");
    EXPECT_EQ(decodedTextMisses(), misses + 1);
}

// The outline lies under the glyph one pixel larger all round: it covers the
// glyph and its four neighbours of every pixel, and nothing diagonal alone.
TEST(TextCoreTest, OutlineBordersEveryInkPixelOnFourSides) {
    GlyphBitmap dot;
    dot.width = dot.height = 1;
    dot.xOrigin = -2.0f;
    dot.yOrigin = 3.0f;
    dot.bits = {0x80};
    const GlyphBitmap plus = outlineAround(dot);
    EXPECT_EQ(plus.width, 3);
    EXPECT_EQ(plus.height, 3);
    EXPECT_FLOAT_EQ(plus.xOrigin, -1.0f);
    EXPECT_FLOAT_EQ(plus.yOrigin, 4.0f);
    EXPECT_EQ(plus.bits, (std::vector<unsigned char>{0x40, 0xE0, 0x40}));
    EXPECT_EQ(outlineAround(GlyphBitmap{}).width, 0);
}

}  // namespace
