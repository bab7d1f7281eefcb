#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "render/text_layout.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const char* text) {
    return Bytes(text, text + std::strlen(text));
}

std::string formatted(void (*format)(char*, std::size_t, std::int32_t), std::int32_t value) {
    char buffer[kHudTextBytes];
    format(buffer, sizeof buffer, value);
    return buffer;
}

std::string formattedSpeed(float speed) {
    char buffer[kHudTextBytes];
    formatSpeed(buffer, sizeof buffer, speed);
    return buffer;
}

GameState stateIn(GamePhase phase, int width = 800, int height = 600) {
    GameState state;
    state.phase = phase;
    state.windowWidth = width;
    state.windowHeight = height;
    return state;
}

void expectLine(const HudLine& line, int x, int y, const char* text) {
    EXPECT_EQ(line.x, x) << text;
    EXPECT_EQ(line.y, y) << text;
    EXPECT_STREQ(line.text, text);
}

// The byte rows as the game's design gives them, typed as numbers so a slip
// in the escapes of the strings cannot be copied here.
TEST(TextLayoutTest, TextsAreTheGbkBytesByteForByte) {
    EXPECT_EQ(bytesOf(kTitleText),
              (Bytes{0x4B, 0x65, 0x73, 0x74, 0x72, 0x75, 0x6E, 0xD3, 0xCE, 0xCF, 0xB7}));
    EXPECT_EQ(bytesOf(kStartPromptText), (Bytes{0xB0, 0xB4, 0x20, 0x53, 0x20, 0xBF, 0xAA, 0xCA,
                                                0xBC, 0xD3, 0xCE, 0xCF, 0xB7}));
    EXPECT_EQ(bytesOf(kSidewaysText),
              (Bytes{0x41, 0x2F, 0x44, 0x20, 0xBB, 0xF2, 0x20, 0xA1, 0xFB, 0x2F, 0xA1,
                     0xFA, 0x20, 0xD7, 0xF3, 0xD3, 0xD2, 0xD2, 0xC6, 0xB6, 0xAF}));
    EXPECT_EQ(bytesOf(kSpeedKeysText),
              (Bytes{0x57, 0x2F, 0x53, 0x20, 0xBB, 0xF2, 0x20, 0xA1, 0xFC, 0x2F, 0xA1,
                     0xFD, 0x20, 0xBC, 0xD3, 0xCB, 0xD9, 0xBC, 0xF5, 0xCB, 0xD9}));
    EXPECT_EQ(bytesOf(kEscapeText), (Bytes{0x45, 0x53, 0x43, 0x20, 0xCD, 0xCB, 0xB3, 0xF6}));
    EXPECT_EQ(bytesOf(kScoreFormat), (Bytes{0xB7, 0xD6, 0xCA, 0xFD, 0x3A, 0x20, 0x25, 0x64}));
    EXPECT_EQ(bytesOf(kSpeedFormat),
              (Bytes{0xCB, 0xD9, 0xB6, 0xC8, 0x3A, 0x20, 0x25, 0x2E, 0x30, 0x66}));
    EXPECT_EQ(bytesOf(kGameOverFormat),
              (Bytes{0xD3, 0xCE, 0xCF, 0xB7, 0xBD, 0xE1, 0xCA, 0xF8, 0x20, 0x20, 0xB7, 0xD6, 0xCA,
                     0xFD, 0x3A, 0x20, 0x25, 0x64}));
    EXPECT_EQ(bytesOf(kRestartText), (Bytes{0xB0, 0xB4, 0x20, 0x52, 0x20, 0xD6, 0xD8, 0xD0, 0xC2,
                                            0xBF, 0xAA, 0xCA, 0xBC}));
    EXPECT_EQ(bytesOf(kMenuPromptText), (Bytes{0xB0, 0xB4, 0x20, 0x4D, 0x20, 0xB7, 0xB5, 0xBB, 0xD8,
                                               0xB2, 0xCB, 0xB5, 0xA5}));
}

TEST(TextLayoutTest, NumbersFormatAfterTheirLabels) {
    EXPECT_EQ(formatted(formatScore, 0), std::string(kScoreFormat, 6) + "0");
    EXPECT_EQ(formatted(formatScore, 2147483647), std::string(kScoreFormat, 6) + "2147483647");
    EXPECT_EQ(formatted(formatGameOver, 0), std::string(kGameOverFormat, 16) + "0");
    EXPECT_EQ(formatted(formatGameOver, 987), std::string(kGameOverFormat, 16) + "987");

    const std::string speedLabel(kSpeedFormat, 6);
    EXPECT_EQ(formattedSpeed(17.6f), speedLabel + "18");
    EXPECT_EQ(formattedSpeed(8.0f), speedLabel + "8");
    EXPECT_EQ(formattedSpeed(42.0f), speedLabel + "42");
}

// The line buffer holds the longest number either format can make.
TEST(TextLayoutTest, ExtremeNumbersFitTheLine) {
    char whole[256];
    std::snprintf(whole, sizeof whole, kSpeedFormat, static_cast<double>(-FLT_MAX));
    EXPECT_EQ(formattedSpeed(-FLT_MAX), whole);
    std::snprintf(whole, sizeof whole, kGameOverFormat, INT32_MIN);
    EXPECT_EQ(formatted(formatGameOver, INT32_MIN), whole);
}

TEST(TextLayoutTest, MenuLinesInDrawingOrderAroundTheCentre) {
    const HudLayout layout = layoutHud(stateIn(GamePhase::Menu));
    ASSERT_EQ(layout.count, 5);
    expectLine(layout.lines[0], 330, 340, kTitleText);
    expectLine(layout.lines[1], 310, 300, kStartPromptText);
    expectLine(layout.lines[2], 270, 270, kSidewaysText);
    expectLine(layout.lines[3], 280, 240, kSpeedKeysText);
    expectLine(layout.lines[4], 330, 210, kEscapeText);
}

TEST(TextLayoutTest, RaceShowsScoreAndSpeedTopLeft) {
    GameState state = stateIn(GamePhase::Playing, 1024, 768);
    state.score = 0;
    state.player.speed = 17.6f;
    const HudLayout layout = layoutHud(state);
    ASSERT_EQ(layout.count, 2);
    expectLine(layout.lines[0], 10, 25, formatted(formatScore, 0).c_str());
    expectLine(layout.lines[1], 10, 50, formattedSpeed(17.6f).c_str());
}

TEST(TextLayoutTest, GameOverLinesFollowOddWindowSizes) {
    // Halves in integer division: 801 / 2 = 400, 601 / 2 = 300.
    GameState state = stateIn(GamePhase::GameOver, 801, 601);
    state.score = 4321;
    const HudLayout layout = layoutHud(state);
    ASSERT_EQ(layout.count, 4);
    expectLine(layout.lines[0], 310, 320, formatted(formatGameOver, 4321).c_str());
    expectLine(layout.lines[1], 310, 290, kRestartText);
    expectLine(layout.lines[2], 310, 260, kMenuPromptText);
    expectLine(layout.lines[3], 340, 230, kEscapeText);
}

}  // namespace
