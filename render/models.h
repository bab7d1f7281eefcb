// The car, obstacle and tree models, assembled from the mesh primitives.
#pragma once

#include "game/state.h"

// The player's car at its place in the game state, turned by its tilt.
void drawCar();

// One obstacle, shaped by its kind.
void drawObstacle(const Obstacle& obstacle);

// One roadside tree.
void drawTree(const Tree& tree);
