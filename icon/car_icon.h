// The game's car drawn as an application icon.
#pragma once

#include <string>
#include <vector>

#include "icon/image.h"

// Draws drawCar() on its own, seen from behind and above, into the back
// buffer of the current GL window (set up by initGraphics, at least
// size x size pixels) and reads it back. Whatever is not car is transparent;
// edges are smoothed by averaging several sub-pixel shifted passes.
Image renderCarIcon(int size);

// Where the icon of the given size lies in a folder of icons.
std::string carIconPath(const std::string& directory, int size);

// Writes directory/kestrun-SIZE.png for each size: the car rendered at the
// first, which the window must hold, and shrunk from it to the others by
// ImageMagick. False, with a message on stderr, if one could not be made.
bool writeCarIcons(const std::string& directory, const std::vector<int>& sizes);
