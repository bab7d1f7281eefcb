// The screen texts as the game shows them: GBK byte strings, the number
// formats, and where each phase puts its lines. No GL, so it is testable on
// its own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/state.h"

// GBK (code page 936) bytes, written as escapes so the source file's own
// encoding can never change them.
inline constexpr char kTitleText[] = "Kestrun\xD3\xCE\xCF\xB7";
inline constexpr char kStartPromptText[] = "\xB0\xB4 S \xBF\xAA\xCA\xBC\xD3\xCE\xCF\xB7";
inline constexpr char kSidewaysText[] =
    "A/D \xBB\xF2 \xA1\xFB/\xA1\xFA \xD7\xF3\xD3\xD2\xD2\xC6\xB6\xAF";
inline constexpr char kSpeedKeysText[] =
    "W/S \xBB\xF2 \xA1\xFC/\xA1\xFD \xBC\xD3\xCB\xD9\xBC\xF5\xCB\xD9";
inline constexpr char kEscapeText[] = "ESC \xCD\xCB\xB3\xF6";
inline constexpr char kScoreFormat[] = "\xB7\xD6\xCA\xFD: %d";
inline constexpr char kSpeedFormat[] = "\xCB\xD9\xB6\xC8: %.0f";
inline constexpr char kGameOverFormat[] = "\xD3\xCE\xCF\xB7\xBD\xE1\xCA\xF8  \xB7\xD6\xCA\xFD: %d";
inline constexpr char kRestartText[] = "\xB0\xB4 R \xD6\xD8\xD0\xC2\xBF\xAA\xCA\xBC";
inline constexpr char kMenuPromptText[] = "\xB0\xB4 M \xB7\xB5\xBB\xD8\xB2\xCB\xB5\xA5";

// Every text and format above: the glyphs the game carries are made for them.
inline constexpr int kScreenTextCount = 10;
inline constexpr const char* kScreenTexts[kScreenTextCount] = {
    kTitleText,   kStartPromptText, kSidewaysText,   kSpeedKeysText, kEscapeText,
    kScoreFormat, kSpeedFormat,     kGameOverFormat, kRestartText,   kMenuPromptText};

// What a formatted score or speed can show besides its format's own characters.
inline constexpr char kNumberCharacters[] = "0123456789-";

// The texts' em height in pixels: that of GLUT_BITMAP_HELVETICA_18, the font
// they were laid out for.
inline constexpr int kTextPixelSize = 18;

// Splits GBK text by the encoding's own structure: a byte below 0x80 is a
// character, and so are a lead byte 0x81-0xFE and the byte after it. Returns
// the next character's code (the byte, or lead * 256 + the byte after) and
// moves text past it; 0 at the end. A lead byte with nothing after it, like
// any other byte, stands alone.
std::uint16_t nextGbkCharacter(const char*& text);

// Room for the longest formatted line, with any int32 score or float speed.
inline constexpr std::size_t kHudTextBytes = 64;
inline constexpr int kMaxHudLines = 5;

// One line of text at a pixel position from the window's top-left corner.
struct HudLine {
    int x = 0;
    int y = 0;
    char text[kHudTextBytes] = {};
};

// The lines of one phase in drawing order; lives on the stack, so laying out
// a frame allocates nothing.
struct HudLayout {
    HudLine lines[kMaxHudLines];
    int count = 0;
};

void formatScore(char* out, std::size_t size, std::int32_t score);
void formatSpeed(char* out, std::size_t size, float speed);
void formatGameOver(char* out, std::size_t size, std::int32_t score);

// The lines the given state's phase shows, placed from half the window size.
HudLayout layoutHud(const GameState& state);
