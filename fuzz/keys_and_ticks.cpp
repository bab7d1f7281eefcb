// Feeds arbitrary key presses, releases and runs of ticks through the real
// keyboard handlers and simulateTick, and aborts on the first broken rule.
//
// Each input is read as a list of events, one opcode byte then one argument:
//   opcode % 3 == 0: a letter key, argument = the byte; down if opcode & 4
//   opcode % 3 == 1: a special key, argument = its code; down if opcode & 4
//   opcode % 3 == 2: argument + 1 ticks, with the keyboard focus on another
//                    window if opcode & 8 (as the timer tells the keyboard code)
// Every input starts from the game as the program starts it: the menu, with
// the scenery laid out from its fixed seed, so each input replays exactly.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/simulation.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/race_invariants.h"

namespace {

// Bounds the time one input may take: enough for a race at top speed to
// wrap the road scroll (595 ticks), or for several short races.
constexpr int kMaxTicksPerInput = 600;

// Escape calls exit(0) inside the handler, which would end the whole fuzzing
// run (libFuzzer reports an exiting target as a failure). It is turned into a
// key the game ignores; every other byte is delivered as it came.
unsigned char withoutEscape(unsigned char key) {
    return key == kEscape ? static_cast<unsigned char>('x') : key;
}

[[noreturn]] void broken(const std::string& what) {
    std::fprintf(stderr, "kestrun_fuzz: %s\n", what.c_str());
    std::abort();
}

void checkKey(const GameState& before, bool letterDown, unsigned char key) {
    const std::string fault = checkKeyInvariants(before, game, letterDown, key);
    if (!fault.empty()) {
        broken(fault);
    }
}

void letter(bool down, unsigned char key) {
    const GameState before = game;
    down ? onKeyDown(key, 0, 0) : onKeyUp(key, 0, 0);
    checkKey(before, down, key);
}

void special(bool down, int key) {
    const GameState before = game;
    down ? onSpecialDown(key, 0, 0) : onSpecialUp(key, 0, 0);
    checkKey(before, false, 0);
}

// Where the ticks last said the keyboard focus was.
bool focusAway = false;

void noteFocus(bool away) {
    noteKeyboardFocus(away);
    const ControlFlags& c = game.controls;
    if (away && !focusAway && (c.brake || c.accelerate || c.steerLeft || c.steerRight)) {
        broken("a control still held after the focus moved to another window");
    }
    focusAway = away;
}

void ticks(int count, bool away, int& budget) {
    for (; count > 0 && budget > 0; --count, --budget) {
        noteFocus(away);
        const GameState before = game;
        simulateTick();
        const std::string fault = checkTickInvariants(before, game);
        if (!fault.empty()) {
            broken(fault);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    game = GameState{};
    buildScenery();
    noteKeyboardFocus(false);
    focusAway = false;
    int budget = kMaxTicksPerInput;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const std::uint8_t opcode = data[i];
        const std::uint8_t argument = data[i + 1];
        const bool down = (opcode & 4) != 0;
        switch (opcode % 3) {
            case 0:
                letter(down, withoutEscape(argument));
                break;
            case 1:
                special(down, argument);
                break;
            default:
                ticks(argument + 1, (opcode & 8) != 0, budget);
                break;
        }
    }
    return 0;
}
