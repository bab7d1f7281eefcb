// Hands the game's callbacks to freeglut for the current window.
#pragma once

// Display, reshape and the four keyboard callbacks, in that order. No idle,
// mouse or close callback: the game needs none.
void registerCallbacks();
