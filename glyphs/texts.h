// The screen texts as the game shows them, GBK byte strings, and the size
// their glyphs are drawn at: the game lays them out, the glyph tool renders
// the characters they can show.
#pragma once

#include <iterator>

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
inline constexpr const char* kScreenTexts[] = {
    kTitleText,   kStartPromptText, kSidewaysText,   kSpeedKeysText, kEscapeText,
    kScoreFormat, kSpeedFormat,     kGameOverFormat, kRestartText,   kMenuPromptText};
inline constexpr int kScreenTextCount = static_cast<int>(std::size(kScreenTexts));

// What a formatted score or speed can show besides its format's own characters.
inline constexpr char kNumberCharacters[] = "0123456789-";

// The texts' em height in pixels: that of GLUT_BITMAP_HELVETICA_18, the font
// they were laid out for.
inline constexpr int kTextPixelSize = 18;
