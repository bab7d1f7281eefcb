#include "render/road.h"

void drawRoad() {}
