// The game's car drawn as an application icon.
#pragma once

#include "icon/image.h"

// Draws drawCar() on its own, seen from behind and above, into the back
// buffer of the current GL window (set up by initGraphics, at least
// size x size pixels) and reads it back. Whatever is not car is transparent;
// edges are smoothed by averaging several sub-pixel shifted passes.
Image renderCarIcon(int size);
