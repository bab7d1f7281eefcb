#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "game/state.h"
#include "input/keyboard.h"
#include "tests/rand_draws.h"

namespace {

constexpr ControlFlags kNone{false, false, false, false};
constexpr ControlFlags kAll{true, true, true, true};

bool same(const ControlFlags& a, const ControlFlags& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The flags a byte stands for, from the control table the players read.
ControlFlags letterFlags(int byte) {
    const auto in = [byte](const char* keys) { return byte && std::strchr(keys, byte); };
    return ControlFlags{in("SsKk"), in("WwIi"), in("DdLl"), in("AaJj")};
}

// Somewhere in the given phase, mid-race: score 321, the car off centre.
void enter(GamePhase phase) {
    game = GameState{};
    resetRace();
    game.score = 321;
    game.player.x = 1.5f;
    game.phase = phase;
}

TEST(KeyboardTest, SixteenLettersSetAndClearTheirFlagInARace) {
    int mapped = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const unsigned char key = static_cast<unsigned char>(byte);
        const ControlFlags want = letterFlags(byte);
        mapped += !same(want, kNone);
        enter(GamePhase::Playing);
        if (byte != kEscape) {
            onKeyDown(key, 0, 0);
        }
        EXPECT_TRUE(same(game.controls, want)) << "byte " << byte;
        EXPECT_EQ(game.phase, GamePhase::Playing) << "byte " << byte;
        EXPECT_EQ(game.score, 321) << "byte " << byte;
        game.controls = kAll;
        onKeyUp(key, 0, 0);
        EXPECT_TRUE(
            same(game.controls, {!want.brake, !want.accelerate, !want.steerRight, !want.steerLeft}))
            << "byte " << byte << " released";
    }
    EXPECT_EQ(mapped, 16);
}

TEST(KeyboardTest, ArrowsSetFlagsOnlyInARaceAndClearThemAlways) {
    const ControlFlags arrows[] = {{false, false, false, true},   // left
                                   {false, true, false, false},   // up
                                   {false, false, true, false},   // right
                                   {true, false, false, false}};  // down
    for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        for (int code = -5; code < 300; ++code) {
            const bool arrow = code >= kSpecialLeft && code <= kSpecialDown;
            enter(phase);
            onSpecialDown(code, 0, 0);
            const bool setsFlag = arrow && phase == GamePhase::Playing;
            EXPECT_TRUE(same(game.controls, setsFlag ? arrows[code - kSpecialLeft] : kNone))
                << "code " << code << " in phase " << static_cast<int>(phase);
            game.controls = kAll;
            onSpecialUp(code, 0, 0);
            EXPECT_EQ(same(game.controls, kAll), !arrow) << "code " << code << " released";
            EXPECT_EQ(game.phase, phase);
        }
    }
}

TEST(KeyboardTest, PhaseTableOverAllBytes) {
    for (GamePhase from : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        for (int byte = 0; byte < 256; ++byte) {
            if (byte == kEscape) {
                continue;
            }
            const char c = static_cast<char>(byte);
            GamePhase to = from;
            if (from == GamePhase::Menu && (c == 'S' || c == 's')) {
                to = GamePhase::Playing;
            } else if (from == GamePhase::GameOver && (c == 'R' || c == 'r')) {
                to = GamePhase::Playing;
            } else if (from == GamePhase::GameOver && (c == 'M' || c == 'm')) {
                to = GamePhase::Menu;
            }
            enter(from);
            game.controls = kAll;
            const bool reset = to != from;
            const int draws = countRandDraws([byte] { onKeyDown(byte, 0, 0); });
            EXPECT_EQ(game.phase, to) << "byte " << byte << " from " << static_cast<int>(from);
            EXPECT_EQ(draws, reset ? 90 : 0) << "byte " << byte;
            EXPECT_EQ(game.score, reset ? 0 : 321) << "byte " << byte;
            EXPECT_EQ(same(game.controls, kNone), reset) << "byte " << byte;
        }
    }
}

TEST(KeyboardTest, TheSThatStartsARaceDoesNotBrakeButItsRepeatDoes) {
    enter(GamePhase::Menu);
    onKeyDown('s', 0, 0);
    EXPECT_EQ(game.phase, GamePhase::Playing);
    EXPECT_FALSE(game.controls.brake);
    onKeyDown('s', 0, 0);  // the window system's auto-repeat, now in the race
    EXPECT_TRUE(game.controls.brake);
}

TEST(KeyboardTest, FlagsOutliveTheRaceUntilReleasedOrReset) {
    enter(GamePhase::Playing);
    onSpecialDown(kSpecialLeft, 0, 0);
    onKeyDown('w', 0, 0);
    game.phase = GamePhase::GameOver;  // a collision ends the race
    onKeyDown('k', 0, 0);              // not a brake press on this screen
    EXPECT_TRUE(same(game.controls, {false, true, false, true}));
    onKeyUp('W', 0, 0);
    EXPECT_TRUE(same(game.controls, {false, false, false, true}));
    onKeyDown('r', 0, 0);  // the arrow still held does not steer the new race
    EXPECT_TRUE(same(game.controls, kNone));
}

TEST(KeyboardTest, TheFocusMovingAwayLetsGoOfEveryControlOnce) {
    for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        enter(phase);
        noteKeyboardFocus(false);
        game.controls = kAll;
        noteKeyboardFocus(false);
        EXPECT_TRUE(same(game.controls, kAll)) << "focus still on the game";
        noteKeyboardFocus(true);
        EXPECT_TRUE(same(game.controls, kNone)) << "focus moved away";
        EXPECT_EQ(game.phase, phase);
        EXPECT_EQ(game.score, 321);
    }
    // Keys sent to the window while the focus stays away hold as usual, and
    // only the next move away lets go of them.
    enter(GamePhase::Playing);
    noteKeyboardFocus(true);
    onKeyDown('d', 0, 0);
    noteKeyboardFocus(true);
    EXPECT_TRUE(same(game.controls, {false, false, true, false}));
    noteKeyboardFocus(false);
    onSpecialDown(kSpecialUp, 0, 0);
    noteKeyboardFocus(false);
    EXPECT_TRUE(same(game.controls, {false, true, true, false}));
    noteKeyboardFocus(true);
    EXPECT_TRUE(same(game.controls, kNone));
}

TEST(KeyboardDeathTest, EscapeExitsWithStatusZeroInEveryPhase) {
    for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        EXPECT_EXIT(
            {
                enter(phase);
                onKeyDown(kEscape, 0, 0);
                std::exit(3);
            },
            ::testing::ExitedWithCode(0), "")
            << "phase " << static_cast<int>(phase);
    }
}

}  // namespace
