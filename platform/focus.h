// Where the keyboard focus is, so the game can tell when the key-ups of the
// keys still held are bound to go to another window.
#pragma once

// True while the window system has the keyboard focus on a window other than
// the game's. False when it is on the game's window, when there is no focus
// window as such (before anything sets one, and under focus-follows-pointer,
// keys go to whatever window is under the pointer), and when no game window
// is current. Call with the game window's GL context current.
bool keyboardFocusIsElsewhere();
