#include "platform/focus.h"

#include <windows.h>

bool keyboardFocusIsElsewhere() {
    // The game's window is the one its GL context draws into.
    const HDC drawing = wglGetCurrentDC();
    const HWND game = drawing != nullptr ? WindowFromDC(drawing) : nullptr;
    const HWND foreground = GetForegroundWindow();
    return game != nullptr && foreground != nullptr && foreground != game;
}
