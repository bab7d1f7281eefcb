// The screen texts without a display: bytes, formats, layout, characters,
// the glyphs the game carries and the outline; the same on every platform.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "glyphs/baked_glyphs.h"
#include "glyphs/gbk.h"
#include "glyphs/texts.h"
#include "render/glyphs.h"
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
};

// Bytes as the game's design tables give them, typed apart from the escapes.
const TextRow kRows[] = {
    {kTitleText, "4B 65 73 74 72 75 6E D3 CE CF B7"},
    {kStartPromptText, "B0 B4 20 53 20 BF AA CA BC D3 CE CF B7"},
    {kSidewaysText, "41 2F 44 20 BB F2 20 A1 FB 2F A1 FA 20 D7 F3 D3 D2 D2 C6 B6 AF"},
    {kSpeedKeysText, "57 2F 53 20 BB F2 20 A1 FC 2F A1 FD 20 BC D3 CB D9 BC F5 CB D9"},
    {kEscapeText, "45 53 43 20 CD CB B3 F6"},
    {kScoreFormat, "B7 D6 CA FD 3A 20 25 64"},
    {kSpeedFormat, "CB D9 B6 C8 3A 20 25 2E 30 66"},
    {kGameOverFormat, "D3 CE CF B7 BD E1 CA F8 20 20 B7 D6 CA FD 3A 20 25 64"},
    {kRestartText, "B0 B4 20 52 20 D6 D8 D0 C2 BF AA CA BC"},
    {kMenuPromptText, "B0 B4 20 4D 20 B7 B5 BB D8 B2 CB B5 A5"},
};

TEST(TextCoreTest, EachTextIsItsGbkBytes) {
    for (const TextRow& row : kRows) {
        EXPECT_EQ(hexBytes(row.text), row.bytes);
    }
}

TEST(TextCoreTest, NumbersFormatWithoutDecimals) {
    char text[kHudTextBytes];
    formatScore(text, sizeof text, 0);
    EXPECT_EQ(hexBytes(text), "B7 D6 CA FD 3A 20 30");
    formatSpeed(text, sizeof text, 17.6f);
    EXPECT_EQ(hexBytes(text), "CB D9 B6 C8 3A 20 31 38");
    formatSpeed(text, sizeof text, 8.0f);
    EXPECT_EQ(hexBytes(text), "CB D9 B6 C8 3A 20 38");
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

// Any bytes split into characters by GBK's structure alone, never reading
// past the end: a lead byte takes the byte after it, whatever that is.
TEST(TextCoreTest, TextsSplitIntoCharactersByGbkStructure) {
    using Codes = std::vector<std::uint16_t>;
    auto codes = [](const char* text) {
        Codes found;
        forEachGbkCharacter(text, [&found](std::uint16_t code) { found.push_back(code); });
        return found;
    };
    EXPECT_EQ(codes(kTitleText), (Codes{'K', 'e', 's', 't', 'r', 'u', 'n', 0xD3CE, 0xCFB7}));
    EXPECT_EQ(codes("\x80\xFF\x81\x40"), (Codes{0x80, 0xFF, 0x8140}));
    EXPECT_EQ(codes("\xD3\nx"), (Codes{0xD30A, 'x'}));
    EXPECT_EQ(codes("ok\xD3"), (Codes{'o', 'k', 0xD3}));
    EXPECT_EQ(codes(""), Codes{});
}

// The characters every phase can show, with any score and any speed the
// formats can print, are exactly the ones the game carries.
TEST(TextCoreTest, TheGameCarriesExactlyTheCharactersItCanShow) {
    std::set<std::uint16_t> shown;
    GameState state;
    const int scores[] = {0, 1234567890, std::numeric_limits<std::int32_t>::max(),
                          std::numeric_limits<std::int32_t>::min()};
    for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        for (int score : scores) {
            for (float speed : {8.0f, 17.6f, 42.0f, 9.5f}) {
                state.phase = phase;
                state.score = score;
                state.player.speed = speed;
                const HudLayout layout = layoutHud(state);
                for (int i = 0; i < layout.count; ++i) {
                    forEachGbkCharacter(layout.lines[i].text,
                                        [&shown](std::uint16_t c) { shown.insert(c); });
                }
            }
        }
    }
    std::set<std::uint16_t> carried;
    for (int i = 0; i < kBakedGlyphCount; ++i) {
        EXPECT_TRUE(i == 0 || kBakedGlyphs[i - 1].code < kBakedGlyphs[i].code)
            << "sorted, once each";
        carried.insert(kBakedGlyphs[i].code);
    }
    EXPECT_EQ(shown, carried);
}

// A carried glyph comes with its metrics; one not carried is a box as wide
// as its kind of character, so what follows keeps its place.
TEST(TextCoreTest, CharactersNotCarriedAreBoxesOfTheirWidth) {
    const Glyph& you = glyphFor(0xD3CE);
    EXPECT_FLOAT_EQ(you.advance, 18.0f);
    EXPECT_GE(you.ink.height, 14);
    const GlyphBitmap& slash = glyphFor('/').ink;
    EXPECT_TRUE(bitAt(slash, slash.width - 1, slash.height - 1)) << "the top row comes last";
    EXPECT_FALSE(bitAt(slash, slash.width - 1, 0));

    const Glyph& wide = glyphFor(0x8140);
    const Glyph& narrow = glyphFor(0xD3);
    EXPECT_FLOAT_EQ(wide.advance, static_cast<float>(kTextPixelSize));
    EXPECT_FLOAT_EQ(narrow.advance, static_cast<float>(kTextPixelSize / 2));
    EXPECT_EQ(&glyphFor(0x0A), &narrow);
    for (const Glyph* box : {&wide, &narrow}) {
        const GlyphBitmap& ink = box->ink;
        EXPECT_TRUE(bitAt(ink, 0, 0) && bitAt(ink, ink.width - 1, ink.height - 1));
        EXPECT_FALSE(bitAt(ink, 1, 1)) << "hollow";
        EXPECT_FLOAT_EQ(ink.xOrigin, -1.0f);
        EXPECT_FLOAT_EQ(ink.yOrigin, 0.0f) << "standing on the baseline";
    }
}

// The outline lies under the glyph one pixel larger all round: it covers the
// glyph and its four neighbours of every pixel, and nothing diagonal alone.
TEST(TextCoreTest, OutlineBordersEveryInkPixelOnFourSides) {
    const GlyphBitmap dot{1, 1, -2.0f, 3.0f, {0x80}};  // one pixel, its origin off its corner
    const GlyphBitmap plus = outlineAround(dot);
    EXPECT_EQ(plus.width, 3);
    EXPECT_EQ(plus.height, 3);
    EXPECT_FLOAT_EQ(plus.xOrigin, -1.0f);
    EXPECT_FLOAT_EQ(plus.yOrigin, 4.0f);
    EXPECT_EQ(plus.bits, (std::vector<unsigned char>{0x40, 0xE0, 0x40}));
    EXPECT_EQ(outlineAround(GlyphBitmap{}).width, 0);
}

}  // namespace
