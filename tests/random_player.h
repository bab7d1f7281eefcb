// A player of the display-free game: presses and releases keys of both
// kinds, lets the race run between them, now and then has the keyboard
// focus on another window, and checks every rule after every key and every
// tick. Its moves come from anything that makes numbers: a seeded generator
// in the random-play and soak tests, the fuzzer's bytes in the fuzz target.
// No test framework, so the fuzz target can use it too.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "game/simulation.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/race_invariants.h"

// One move, two bytes, as the fuzz target reads its input:
//   opcode % 3 == 0: a letter key, argument = the byte; down if opcode & 4
//   opcode % 3 == 1: a special key, argument = its code; down if opcode & 4
//   opcode % 3 == 2: argument + 1 ticks, with the keyboard focus on another
//                    window if opcode & 8 (as the timer tells the keyboard)
struct Move {
    std::uint8_t opcode = 0;
    std::uint8_t argument = 0;
};

constexpr Move letterMove(bool down, unsigned char key) {
    return {static_cast<std::uint8_t>(down ? 12 : 0), key};
}
constexpr Move specialMove(bool down, int key) {
    return {static_cast<std::uint8_t>(down ? 4 : 1), static_cast<std::uint8_t>(key)};
}
constexpr Move tickMove(int ticks, bool focusAway = false) {
    return {static_cast<std::uint8_t>(focusAway ? 14 : 2), static_cast<std::uint8_t>(ticks - 1)};
}

// What the play went through, so a test can tell it reached where the rules bite.
struct PlayFigures {
    long ticks = 0;
    long keyEvents = 0;
    long raceTicks = 0;
    long racesEnded = 0;
    long longestRace = 0;
    long scrollWraps = 0;
    // Over every race tick: at the limits when the clamps have bitten.
    float minSpeed = kMaxSpeed;
    float maxSpeed = kMinSpeed;
    float minX = 0.0f;
    float maxX = 0.0f;
};

class Player {
public:
    // Starts the game as the program does: the menu, the scenery laid out.
    Player() {
        game = GameState{};
        buildScenery();
        noteKeyboardFocus(false);
    }

    // Plays one move; returns the first rule it broke, or "".
    std::string play(Move move) {
        const bool down = (move.opcode & 4) != 0;
        switch (move.opcode % 3) {
            case 0:
                return key(true, down, move.argument);
            case 1:
                return key(false, down, move.argument);
            default:
                return ticks(move.argument + 1, (move.opcode & 8) != 0);
        }
    }

    const PlayFigures& figures() const { return figures_; }

private:
    // Escape would end the process: it becomes a key the game ignores.
    std::string key(bool letter, bool down, int code) {
        const GameState before = game;
        ++figures_.keyEvents;
        const unsigned char byte = code == kEscape ? 'x' : static_cast<unsigned char>(code);
        if (letter) {
            down ? onKeyDown(byte, 0, 0) : onKeyUp(byte, 0, 0);
        } else {
            down ? onSpecialDown(code, 0, 0) : onSpecialUp(code, 0, 0);
        }
        return checkKeyInvariants(before, game, letter && down, byte);
    }

    std::string ticks(int count, bool away) {
        for (; count > 0; --count) {
            noteKeyboardFocus(away);
            const ControlFlags& c = game.controls;
            if (away && !focusAway_ && (c.brake || c.accelerate || c.steerLeft || c.steerRight)) {
                return "a control still held after the focus moved to another window";
            }
            focusAway_ = away;
            const GameState before = game;
            simulateTick();
            record(before);
            const std::string fault = checkTickInvariants(before, game);
            if (!fault.empty()) {
                return "tick " + std::to_string(figures_.ticks) + ": " + fault;
            }
        }
        return {};
    }

    void record(const GameState& before) {
        PlayFigures& f = figures_;
        ++f.ticks;
        f.scrollWraps += game.roadScroll < before.roadScroll ? 1 : 0;
        if (before.phase != GamePhase::Playing) {
            return;
        }
        const PlayerCar& car = game.player;
        ++f.raceTicks;
        ++race_;
        f.minSpeed = std::min(f.minSpeed, car.speed);
        f.maxSpeed = std::max(f.maxSpeed, car.speed);
        f.minX = std::min(f.minX, car.x);
        f.maxX = std::max(f.maxX, car.x);
        if (game.phase == GamePhase::GameOver) {
            ++f.racesEnded;
            f.longestRace = std::max(f.longestRace, race_);
            race_ = 0;
        }
    }

    bool focusAway_ = false;
    long race_ = 0;
    PlayFigures figures_;
};

// The game's own keys in both cases, a few it ignores, and the arrows.
inline constexpr unsigned char kPlayerLetters[] = {'a', 'A', 'j', 'J', 'd',  'D', 'l', 'L', 'w',
                                                   'W', 'i', 'I', 's', 'S',  'k', 'K', 'r', 'R',
                                                   'm', 'M', 'x', ' ', '\r', 0,   127, 200, 255};
inline constexpr int kPlayerSpecials[] = {kSpecialLeft, kSpecialUp, kSpecialRight, kSpecialDown, 1,
                                          104,          112};

// A move a player might make now: a key pressed or released about as often
// as a run of ticks goes by, and rarely with the focus on another window.
// In a race the runs are long enough for held keys to reach the limits;
// elsewhere short, so races start again soon; now and then much longer.
inline Move randomMove(std::mt19937& random) {
    auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    if (below(2) == 0) {
        const int usual = game.phase == GamePhase::Playing ? 48 : 8;
        const int length = 1 + below(below(50) == 0 ? 256 : usual);
        return tickMove(length, below(100) == 0);
    }
    const bool down = below(2) == 0;
    if (below(10) < 7) {
        return letterMove(down, kPlayerLetters[below(sizeof kPlayerLetters)]);
    }
    return specialMove(down, kPlayerSpecials[below(sizeof kPlayerSpecials / sizeof(int))]);
}
