// The world's numbers: time, speed, the road's lanes and scroll, the
// obstacle stream, where trees and obstacles leave the road, and the size of
// what stands beside and on the road. The rules, the models, culling and the
// tests take them from here. Two kinds live elsewhere: how many trees and
// obstacles there are and the scenery's seed, with the record and its set-up
// (game/state.h), and the tick's own steps, which nothing else uses
// (game/simulation.cpp).
#pragma once

#include <algorithm>

// The timer period; every tick moves the world as if exactly this much time
// had passed, so a slow machine plays slower rather than jumpier.
constexpr int kTickMs = 16;
// From a speed in world units per second to the distance of one tick: 0.016.
constexpr float kSecondsPerTick = kTickMs / 1000.0f;

constexpr float kCruiseSpeed = 18.0f;  // where the speed drifts with no key held
constexpr float kMinSpeed = 8.0f;      // world units per second
constexpr float kMaxSpeed = 42.0f;     // world units per second
constexpr float kLateralLimit = 2.6f;  // the car's x stays within +-this
constexpr float kSteerTilt = 12.0f;    // degrees, positive while steering left

// The lanes' centres, left to right; obstacles stand on them.
constexpr float kLaneCentres[] = {-2.0f, 0.0f, 2.0f};

constexpr float kScrollPeriod = 400.0f;  // the road's scroll wraps back by this much

// The car at a race's start: in the middle lane, its origin kCarHeight up
// and kCarZ along the road, where it stays while the world moves past.
constexpr float kCarHeight = 0.25f;
constexpr float kCarZ = 2.0f;
// The car's body, the part obstacles hit, centred on the car's origin.
constexpr float kCarWidth = 1.1f;
constexpr float kCarLength = 2.2f;

// The obstacle stream: a race starts with obstacles kObstacleSpacing apart
// from kFirstObstacleZ on; later ones come kObstacleSpacing and a little more
// behind the last, or at kFirstRefillZ when none is left.
constexpr float kFirstObstacleZ = -15.0f;
constexpr float kObstacleSpacing = 14.0f;
constexpr float kFirstRefillZ = -64.0f;
// Past the car and the camera: an obstacle beyond kObstacleRetireZ is
// dropped, a tree beyond kTreeRecycleZ goes back down the road.
constexpr float kObstacleRetireZ = 15.0f;
constexpr float kTreeRecycleZ = 20.0f;

// A roadside tree from its foot up: a trunk tapering from kTrunkBase, and
// two round crowns, each given by the height of its centre and its radius.
constexpr float kTrunkBase = 0.6f;
constexpr float kTrunkHeight = 1.2f;
constexpr float kTrunkBottomRadius = 0.18f;
constexpr float kTrunkTopRadius = 0.13f;
constexpr float kLowerCrownHeight = 1.7f;
constexpr float kLowerCrownRadius = 0.75f;
constexpr float kUpperCrownHeight = 2.15f;
constexpr float kUpperCrownRadius = 0.55f;
// So a tree stands from kTrunkBase to kTreeTop above its foot and reaches
// no farther than kTreeSpread from its axis.
constexpr float kTreeTop =
    std::max({kTrunkBase + kTrunkHeight, kLowerCrownHeight + kLowerCrownRadius,
              kUpperCrownHeight + kUpperCrownRadius});
constexpr float kTreeSpread =
    std::max({kTrunkBottomRadius, kTrunkTopRadius, kLowerCrownRadius, kUpperCrownRadius});
