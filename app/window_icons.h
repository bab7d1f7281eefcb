// The car icon at the sizes the window shows, built into the program from
// the rendered icons in icon/ (by app/CMakeLists.txt), so the game reads no
// file to show it.
#pragma once

#include "platform/window_identity.h"

extern const IconPng kWindowIcons[];
extern const int kWindowIconCount;
