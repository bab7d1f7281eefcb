// The car, obstacle and tree models, assembled from the mesh primitives.
#pragma once

#include "game/state.h"

struct ViewVolume;

// The player's car at its place in the game state, turned by its tilt.
void drawCar();

// One obstacle, shaped by its kind.
void drawObstacle(const Obstacle& obstacle);

// One roadside tree.
void drawTree(const Tree& tree);

// The model pass: every tree and obstacle that can reach the view, in the
// game's order, then the car, which always shows and leaves the colour and
// normal the text pass after it relies on. Back faces are culled.
void drawModels(const ViewVolume& view);
