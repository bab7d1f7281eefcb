// The lines each phase shows: the score and speed formatted into their texts,
// and where every line stands. No GL, so it is testable on its own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/state.h"

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
