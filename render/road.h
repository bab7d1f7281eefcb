// The ground: grass, asphalt, centre-line dashes and edge lines.
#pragma once

constexpr int kDashCount = 140;
constexpr float kDashLength = 3.0f;

// Far edge (smallest z) of centre-line dash `index` when the road has
// scrolled by `roadScroll`. The dashes move with the world and wrap within
// (-400, 40], so the stretch the camera sees is always covered.
float dashFarEdge(int index, float roadScroll);

// Draws the ground; reads game.roadScroll.
void drawRoad();
