// The game window's class as X's WM_CLASS holds it: the instance name, then
// the class, which the desktop entry's StartupWMClass names (the title).
#pragma once

constexpr const char* kWindowInstance = "kestrun";
constexpr const char* kWindowClass = KESTRUN_TITLE;
