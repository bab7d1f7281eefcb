// One tick of a race: speed and steering from the held controls, the world
// streaming toward the car, the obstacle stream and the collision test.
#pragma once

// The timer period; every tick moves the world as if exactly this much time
// had passed, so a slow machine plays slower rather than jumpier.
constexpr int kTickMs = 16;

constexpr float kCruiseSpeed = 18.0f;      // where the speed drifts with no key held
constexpr float kMinSpeed = 8.0f;          // world units per second
constexpr float kMaxSpeed = 42.0f;         // world units per second
constexpr float kLateralLimit = 2.6f;      // the car's x stays within +-this
constexpr float kSteerTilt = 12.0f;        // degrees, positive while steering left
constexpr float kScrollPeriod = 400.0f;    // roadScroll wraps back by this much
constexpr float kTreeRecycleZ = 20.0f;     // a tree past this goes back down the road
constexpr float kObstacleRetireZ = 15.0f;  // an obstacle past this is dropped

// Advances the world one tick while a race is on; does nothing otherwise.
void simulateTick();

// Moves the obstacles toward the car, drops the passed front one and tops the
// stream back up to kObstacleTarget.
void advanceObstacles();

// True when the car overlaps any obstacle (the obstacles' footprints are
// shrunk a little so near misses stay misses).
bool hitsObstacle();
