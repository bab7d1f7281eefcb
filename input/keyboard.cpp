#include "input/keyboard.h"

#include <cstdlib>

#include "game/state.h"

namespace {

// What noteKeyboardFocus was last told, so only the move away counts.
bool focusWasElsewhere = false;

// Letters on both hands: WASD and IJKL, either case.
bool* letterFlag(unsigned char key) {
    ControlFlags& c = game.controls;
    switch (key) {
        case 'A':
        case 'a':
        case 'J':
        case 'j':
            return &c.steerLeft;
        case 'D':
        case 'd':
        case 'L':
        case 'l':
            return &c.steerRight;
        case 'W':
        case 'w':
        case 'I':
        case 'i':
            return &c.accelerate;
        case 'S':
        case 's':
        case 'K':
        case 'k':
            return &c.brake;
        default:
            return nullptr;
    }
}

bool* arrowFlag(int key) {
    ControlFlags& c = game.controls;
    switch (key) {
        case kSpecialLeft:
            return &c.steerLeft;
        case kSpecialUp:
            return &c.accelerate;
        case kSpecialRight:
            return &c.steerRight;
        case kSpecialDown:
            return &c.brake;
        default:
            return nullptr;
    }
}

void setFlag(bool* flag, bool held) {
    if (flag != nullptr) {
        *flag = held;
    }
}

// Switches phase, then lays out a fresh race (the reset leaves the phase alone).
void enterPhase(GamePhase phase) {
    game.phase = phase;
    resetRace();
}

// No flag is set here: the S that starts the race is not a brake press.
void keyInMenu(unsigned char key) {
    if (key == 'S' || key == 's') {
        enterPhase(GamePhase::Playing);
    } else if (key == kEscape) {
        std::exit(0);
    }
}

void keyOnGameOver(unsigned char key) {
    if (key == 'R' || key == 'r') {
        enterPhase(GamePhase::Playing);
    } else if (key == 'M' || key == 'm') {
        enterPhase(GamePhase::Menu);
    } else if (key == kEscape) {
        std::exit(0);
    }
}

void keyInRace(unsigned char key) {
    if (key == kEscape) {
        std::exit(0);
    }
    setFlag(letterFlag(key), true);
}

// Lets go of every held control, as if all their keys had come up.
void releaseControls() {
    game.controls = ControlFlags{};
}

}  // namespace

void onKeyDown(unsigned char key, int /*x*/, int /*y*/) {
    switch (game.phase) {
        case GamePhase::Menu:
            keyInMenu(key);
            break;
        case GamePhase::Playing:
            keyInRace(key);
            break;
        case GamePhase::GameOver:
            keyOnGameOver(key);
            break;
    }
}

// Releases count in every phase, so a key held across the end of a race
// does not stay stuck down.
void onKeyUp(unsigned char key, int /*x*/, int /*y*/) {
    setFlag(letterFlag(key), false);
}

void onSpecialDown(int key, int /*x*/, int /*y*/) {
    if (game.phase == GamePhase::Playing) {
        setFlag(arrowFlag(key), true);
    }
}

void onSpecialUp(int key, int /*x*/, int /*y*/) {
    setFlag(arrowFlag(key), false);
}

void noteKeyboardFocus(bool elsewhere) {
    if (elsewhere && !focusWasElsewhere) {
        releaseControls();
    }
    focusWasElsewhere = elsewhere;
}
