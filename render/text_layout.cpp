#include "render/text_layout.h"

#include <cstdio>

#include "glyphs/texts.h"

void formatScore(char* out, std::size_t size, std::int32_t score) {
    std::snprintf(out, size, kScoreFormat, static_cast<int>(score));
}

void formatSpeed(char* out, std::size_t size, float speed) {
    std::snprintf(out, size, kSpeedFormat, static_cast<double>(speed));
}

void formatGameOver(char* out, std::size_t size, std::int32_t score) {
    std::snprintf(out, size, kGameOverFormat, static_cast<int>(score));
}

namespace {

HudLine& addLine(HudLayout& layout, int x, int y) {
    HudLine& line = layout.lines[layout.count++];
    line.x = x;
    line.y = y;
    return line;
}

void addText(HudLayout& layout, int x, int y, const char* text) {
    HudLine& line = addLine(layout, x, y);
    std::snprintf(line.text, sizeof line.text, "%s", text);
}

// The title stands lowest and the Escape line highest: y grows downward.
void layOutMenu(HudLayout& layout, int w, int h) {
    addText(layout, w - 70, h + 40, kTitleText);
    addText(layout, w - 90, h, kStartPromptText);
    addText(layout, w - 130, h - 30, kSidewaysText);
    addText(layout, w - 120, h - 60, kSpeedKeysText);
    addText(layout, w - 70, h - 90, kEscapeText);
}

void layOutRace(HudLayout& layout, const GameState& state) {
    HudLine& score = addLine(layout, 10, 25);
    formatScore(score.text, sizeof score.text, state.score);
    HudLine& speed = addLine(layout, 10, 50);
    formatSpeed(speed.text, sizeof speed.text, state.player.speed);
}

void layOutGameOver(HudLayout& layout, const GameState& state, int w, int h) {
    HudLine& result = addLine(layout, w - 90, h + 20);
    formatGameOver(result.text, sizeof result.text, state.score);
    addText(layout, w - 90, h - 10, kRestartText);
    addText(layout, w - 90, h - 40, kMenuPromptText);
    addText(layout, w - 60, h - 70, kEscapeText);
}

}  // namespace

HudLayout layoutHud(const GameState& state) {
    HudLayout layout;
    const int w = state.windowWidth / 2;
    const int h = state.windowHeight / 2;
    switch (state.phase) {
        case GamePhase::Menu:
            layOutMenu(layout, w, h);
            break;
        case GamePhase::Playing:
            layOutRace(layout, state);
            break;
        case GamePhase::GameOver:
            layOutGameOver(layout, state, w, h);
            break;
    }
    return layout;
}
