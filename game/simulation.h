// One tick of a race: speed and steering from the held controls, the world
// streaming toward the car, the obstacle stream and the collision test.
#pragma once

#include "game/world.h"

// Advances the world one tick while a race is on; does nothing otherwise.
void simulateTick();

// Moves the obstacles toward the car, drops the passed front one and tops the
// stream back up to kObstacleTarget.
void advanceObstacles();

// True when the car overlaps any obstacle (the obstacles' footprints are
// shrunk a little so near misses stay misses).
bool hitsObstacle();
