#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game/state.h"
#include "input/keyboard.h"
#include "tests/rand_draws.h"

namespace {

constexpr ControlFlags kNoFlags{false, false, false, false};
constexpr ControlFlags kAllFlags{true, true, true, true};

bool operator==(const ControlFlags& a, const ControlFlags& b) {
    return a.brake == b.brake && a.accelerate == b.accelerate && a.steerRight == b.steerRight &&
           a.steerLeft == b.steerLeft;
}

std::string show(const ControlFlags& c) {
    return std::string("brake=") + (c.brake ? "1" : "0") +
           " accelerate=" + (c.accelerate ? "1" : "0") + " right=" + (c.steerRight ? "1" : "0") +
           " left=" + (c.steerLeft ? "1" : "0");
}

// The flags a letter byte stands for, from the control table the players see.
ControlFlags flagsOfLetter(int byte) {
    const auto in = [byte](const char* keys) {
        return byte != 0 && std::string(keys).find(static_cast<char>(byte)) != std::string::npos;
    };
    return ControlFlags{in("SsKk"), in("WwIi"), in("DdLl"), in("AaJj")};
}

// A game somewhere in the given phase, mid-race, with a known score.
void enter(GamePhase phase) {
    game = GameState{};
    resetRace();
    game.score = 321;
    game.player.x = 1.5f;
    game.phase = phase;
}

// True when the race was laid out afresh: score, car and controls reset.
bool raceWasReset() {
    return game.score == 0 && game.player.x == 0.0f && game.player.speed == 18.0f &&
           game.obstacles.size() == static_cast<std::size_t>(kObstacleTarget) &&
           game.controls == kNoFlags;
}

TEST(KeyboardTest, LetterMapInRaceCoversExactlySixteenBytes) {
    int mapped = 0;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == kEscape) {
            continue;
        }
        const unsigned char key = static_cast<unsigned char>(byte);
        const ControlFlags expected = flagsOfLetter(byte);
        mapped += expected == kNoFlags ? 0 : 1;

        enter(GamePhase::Playing);
        EXPECT_EQ(countRandDraws([key] { onKeyDown(key, 0, 0); }), 0) << "byte " << byte;
        EXPECT_TRUE(game.controls == expected)
            << "byte " << byte << ": " << show(game.controls) << ", wanted " << show(expected);
        EXPECT_EQ(game.phase, GamePhase::Playing) << "byte " << byte;
        EXPECT_EQ(game.score, 321) << "byte " << byte;

        // The same byte released clears exactly that flag.
        game.controls = kAllFlags;
        onKeyUp(key, 0, 0);
        const ControlFlags left{!expected.brake, !expected.accelerate, !expected.steerRight,
                                !expected.steerLeft};
        EXPECT_TRUE(game.controls == left) << "byte " << byte << " up: " << show(game.controls);
    }
    EXPECT_EQ(mapped, 16);
}

TEST(KeyboardTest, ArrowsSetFlagsOnlyDuringARace) {
    struct Arrow {
        int code;
        ControlFlags flags;
    };
    const Arrow arrows[] = {{kSpecialLeft, {false, false, false, true}},
                            {kSpecialUp, {false, true, false, false}},
                            {kSpecialRight, {false, false, true, false}},
                            {kSpecialDown, {true, false, false, false}}};
    for (const Arrow& arrow : arrows) {
        enter(GamePhase::Playing);
        onSpecialDown(arrow.code, 10, 20);
        EXPECT_TRUE(game.controls == arrow.flags) << "code " << arrow.code;
        for (GamePhase phase : {GamePhase::Menu, GamePhase::GameOver}) {
            enter(phase);
            onSpecialDown(arrow.code, 0, 0);
            EXPECT_TRUE(game.controls == kNoFlags) << "code " << arrow.code;
            EXPECT_EQ(game.phase, phase);
        }
    }
    // Other special keys (F1..F12, Home, Shift, Ctrl...) set nothing.
    enter(GamePhase::Playing);
    for (int code = -5; code < 300; ++code) {
        if (code < kSpecialLeft || code > kSpecialDown) {
            onSpecialDown(code, 0, 0);
        }
    }
    EXPECT_TRUE(game.controls == kNoFlags) << show(game.controls);
}

TEST(KeyboardTest, ReleasesClearFlagsInEveryPhase) {
    for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        enter(phase);
        game.controls = kAllFlags;
        onKeyUp('j', 0, 0);
        onSpecialUp(kSpecialDown, 0, 0);
        EXPECT_TRUE(game.controls == (ControlFlags{false, true, true, false}))
            << show(game.controls);
        onSpecialUp(kSpecialRight, 0, 0);
        onKeyUp('I', 0, 0);
        EXPECT_TRUE(game.controls == kNoFlags) << show(game.controls);

        // Releases of unmapped keys, Escape included, do nothing at all.
        game.controls = kAllFlags;
        for (int byte = 0; byte < 256; ++byte) {
            if (flagsOfLetter(byte) == kNoFlags) {
                onKeyUp(static_cast<unsigned char>(byte), 0, 0);
            }
        }
        for (int code = 0; code < 300; ++code) {
            if (code < kSpecialLeft || code > kSpecialDown) {
                onSpecialUp(code, 0, 0);
            }
        }
        EXPECT_TRUE(game.controls == kAllFlags) << show(game.controls);
        EXPECT_EQ(game.phase, phase);
        EXPECT_EQ(game.score, 321);
    }
}

TEST(KeyboardTest, MenuStartsARaceOnSOnly) {
    for (unsigned char key : {'S', 's'}) {
        enter(GamePhase::Menu);
        game.controls = kAllFlags;
        EXPECT_EQ(countRandDraws([key] { onKeyDown(key, 0, 0); }), 90);
        EXPECT_EQ(game.phase, GamePhase::Playing);
        EXPECT_TRUE(raceWasReset());
    }
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == 'S' || byte == 's' || byte == kEscape) {
            continue;
        }
        enter(GamePhase::Menu);
        const unsigned char key = static_cast<unsigned char>(byte);
        EXPECT_EQ(countRandDraws([key] { onKeyDown(key, 0, 0); }), 0) << "byte " << byte;
        EXPECT_EQ(game.phase, GamePhase::Menu) << "byte " << byte;
        EXPECT_TRUE(game.controls == kNoFlags) << "byte " << byte << ": " << show(game.controls);
        EXPECT_EQ(game.score, 321) << "byte " << byte;
    }
}

TEST(KeyboardTest, GameOverRestartsOnROrReturnsToMenuOnM) {
    const struct {
        unsigned char key;
        GamePhase to;
    } moves[] = {{'R', GamePhase::Playing},
                 {'r', GamePhase::Playing},
                 {'M', GamePhase::Menu},
                 {'m', GamePhase::Menu}};
    for (const auto& move : moves) {
        enter(GamePhase::GameOver);
        game.controls = kAllFlags;
        EXPECT_EQ(countRandDraws([&] { onKeyDown(move.key, 0, 0); }), 90);
        EXPECT_EQ(game.phase, move.to) << move.key;
        EXPECT_TRUE(raceWasReset()) << move.key;
    }
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == 'R' || byte == 'r' || byte == 'M' || byte == 'm' || byte == kEscape) {
            continue;
        }
        enter(GamePhase::GameOver);
        onKeyDown(static_cast<unsigned char>(byte), 0, 0);
        EXPECT_EQ(game.phase, GamePhase::GameOver) << "byte " << byte;
        EXPECT_TRUE(game.controls == kNoFlags) << "byte " << byte << ": " << show(game.controls);
        EXPECT_EQ(game.score, 321) << "byte " << byte;
    }
}

TEST(KeyboardTest, NoKeyLeavesARaceOrRestartsIt) {
    enter(GamePhase::Playing);
    for (unsigned char key : {'R', 'r', 'M', 'm', 'S', 's', 'q', ' '}) {
        onKeyDown(key, 0, 0);
    }
    EXPECT_EQ(game.phase, GamePhase::Playing);
    EXPECT_EQ(game.score, 321);
    EXPECT_EQ(game.player.x, 1.5f);
}

TEST(KeyboardQuirkTest, HeldSStartsTheRaceThenItsRepeatBrakes) {
    enter(GamePhase::Menu);
    onKeyDown('s', 0, 0);
    EXPECT_EQ(game.phase, GamePhase::Playing);
    EXPECT_FALSE(game.controls.brake);
    // The window system's auto-repeat arrives as another press, now in the race.
    onKeyDown('s', 0, 0);
    EXPECT_TRUE(game.controls.brake);
    onKeyUp('s', 0, 0);
    EXPECT_FALSE(game.controls.brake);
}

TEST(KeyboardQuirkTest, FlagsOutliveTheRaceUntilReleasedOrReset) {
    enter(GamePhase::Playing);
    onSpecialDown(kSpecialLeft, 0, 0);
    onKeyDown('w', 0, 0);
    game.phase = GamePhase::GameOver;  // a collision ends the race
    EXPECT_TRUE(game.controls.steerLeft && game.controls.accelerate);

    onKeyUp('W', 0, 0);
    EXPECT_FALSE(game.controls.accelerate);
    EXPECT_TRUE(game.controls.steerLeft);

    // Restarting with the arrow still held does not steer the new race.
    onKeyDown('r', 0, 0);
    EXPECT_FALSE(game.controls.steerLeft);
    onSpecialDown(kSpecialLeft, 0, 0);  // auto-repeat or a fresh press
    EXPECT_TRUE(game.controls.steerLeft);
}

TEST(KeyboardQuirkTest, OppositeKeysHeldTogetherBothSet) {
    enter(GamePhase::Playing);
    onKeyDown('d', 0, 0);
    onKeyDown('a', 0, 0);
    onSpecialDown(kSpecialUp, 0, 0);
    onKeyDown('k', 0, 0);
    EXPECT_TRUE(game.controls == kAllFlags) << show(game.controls);
}

TEST(KeyboardDeathTest, EscapeExitsWithStatusZeroInEveryPhase) {
    for (GamePhase phase : {GamePhase::Menu, GamePhase::Playing, GamePhase::GameOver}) {
        EXPECT_EXIT(
            {
                enter(phase);
                onKeyDown(kEscape, 0, 0);
                std::exit(3);  // not reached when Escape exits
            },
            ::testing::ExitedWithCode(0), "")
            << "phase " << static_cast<int>(phase);
    }
}

}  // namespace
