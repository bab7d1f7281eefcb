#include "render/text.h"

void drawText(int, int, const char*) {}

void drawHud() {}
