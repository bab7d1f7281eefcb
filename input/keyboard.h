// The four freeglut keyboard callbacks: held-control flags and the moves
// between the menu, the race and the game-over screen; and letting go of the
// controls when the keyboard goes to another window. Nothing here asks for a
// redisplay; the next timer tick redraws.
#pragma once

// freeglut's codes for the arrow keys (GLUT_KEY_LEFT and friends), repeated
// here so the input code needs no GLUT header.
constexpr int kSpecialLeft = 100;
constexpr int kSpecialUp = 101;
constexpr int kSpecialRight = 102;
constexpr int kSpecialDown = 103;

constexpr unsigned char kEscape = 27;

// Menu: S starts a race. Game over: R races again, M goes back to the menu.
// Race: letter keys set their control flag. Escape ends the program anywhere.
// The pointer position is ignored.
void onKeyDown(unsigned char key, int x, int y);

// Clears the letter key's control flag, in every phase.
void onKeyUp(unsigned char key, int x, int y);

// Arrow keys set their control flag, during a race only.
void onSpecialDown(int key, int x, int y);

// Clears the arrow key's control flag, in every phase.
void onSpecialUp(int key, int x, int y);

// Told once a tick whether the keyboard focus is on another window. The tick
// the focus moves there, the controls are let go: the keys held then will
// come up in that window, and the game would never hear of it. While the
// focus stays away, keys that still reach the game (the window system can
// send them to a window without focus) set and clear their controls as usual.
void noteKeyboardFocus(bool elsewhere);
