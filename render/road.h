// The ground: grass, asphalt, centre-line dashes and edge lines.
#pragma once

void drawRoad();
