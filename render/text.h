// Screen text: the menu, the race HUD and the game-over texts.
#pragma once

// Draws a GBK byte string with its top-left baseline at pixel (x, y) from the
// window's top-left corner.
void drawText(int x, int y, const char* text);

// Draws the texts of the current phase.
void drawHud();
