#include "game/simulation.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <vector>

#include "game/state.h"

namespace {

constexpr float kSpeedChange = 0.128f;   // per tick while accelerate or brake is held
constexpr float kCruiseDrift = 0.0352f;  // per tick toward cruise with no key held
constexpr float kLateralStepAtCruise = 0.112f;
constexpr float kTreeRecycleDistance = 370.0f;
constexpr int kSpacingJitter = 6;  // 0 to 5 more units between refilled obstacles
constexpr float kCollisionShrink = 0.7f;
constexpr float kCarHalfWidth = 0.5f * kCarWidth;
constexpr float kCarHalfLength = 0.5f * kCarLength;
constexpr auto kTopScore = std::numeric_limits<decltype(GameState::score)>::max();

void changeSpeed() {
    PlayerCar& car = game.player;
    if (game.controls.accelerate) {
        car.speed += kSpeedChange;
    } else if (game.controls.brake) {
        car.speed -= kSpeedChange;
    } else if (car.speed > kCruiseSpeed) {
        car.speed -= kCruiseDrift;
    } else if (car.speed < kCruiseSpeed) {
        car.speed += kCruiseDrift;
    }
}

void clampSpeed() {
    PlayerCar& car = game.player;
    if (car.speed > kMaxSpeed) {
        car.speed = kMaxSpeed;
    } else if (car.speed < kMinSpeed) {
        car.speed = kMinSpeed;
    }
}

// Distance the world moves toward the car this tick.
float worldStep() {
    return kSecondsPerTick * game.player.speed;
}

// Faster cars also steer faster, so the road feels the same at any speed.
void steer() {
    PlayerCar& car = game.player;
    const float d = (car.speed / kCruiseSpeed) * kLateralStepAtCruise;
    if (game.controls.steerLeft) {
        car.x -= d;
        car.tilt = kSteerTilt;
    } else if (game.controls.steerRight) {
        car.x += d;
        car.tilt = -kSteerTilt;
    } else {
        car.tilt = 0.0f;
    }
}

void clampLateral() {
    PlayerCar& car = game.player;
    if (car.x < -kLateralLimit) {
        car.x = -kLateralLimit;
    } else if (car.x > kLateralLimit) {
        car.x = kLateralLimit;
    }
}

void scrollRoad(float step) {
    game.roadScroll += step;
    if (game.roadScroll > kScrollPeriod) {
        game.roadScroll -= kScrollPeriod;
    }
}

// Trees that pass the camera go back down the road, so the same kTreeCount
// trees line it forever.
void moveTrees(float step) {
    for (Tree& tree : game.trees) {
        tree.z += step;
        if (tree.z > kTreeRecycleZ) {
            tree.z -= kTreeRecycleDistance;
        }
    }
}

// The list is nearest first, so only its front can have passed the car.
void retirePassedObstacles() {
    std::vector<Obstacle>& list = game.obstacles;
    while (!list.empty() && list.front().z > kObstacleRetireZ) {
        list.erase(list.begin());
    }
}

void refillObstacles() {
    std::vector<Obstacle>& list = game.obstacles;
    while (list.size() < static_cast<std::size_t>(kObstacleTarget)) {
        const float base = list.empty() ? kFirstRefillZ : list.back().z - kObstacleSpacing;
        const float z = base - static_cast<float>(std::rand() % kSpacingJitter);
        list.push_back(rollObstacle(z));
    }
}

// One more tick survived, up to the largest score the record holds (a race
// of some 397 days), where the score stays rather than overflow.
void countTick() {
    if (game.score < kTopScore) {
        game.score += 1;
    }
}

bool overlaps(const PlayerCar& car, const Obstacle& o) {
    const float reachX = o.width * 0.5f * kCollisionShrink + kCarHalfWidth;
    const float reachZ = o.depth * 0.5f * kCollisionShrink + kCarHalfLength;
    return std::abs(car.x - o.x) < reachX && std::abs(car.z - o.z) < reachZ;
}

}  // namespace

void advanceObstacles() {
    const float step = worldStep();
    for (Obstacle& o : game.obstacles) {
        o.z += step;
    }
    retirePassedObstacles();
    refillObstacles();
}

bool hitsObstacle() {
    for (const Obstacle& o : game.obstacles) {
        if (overlaps(game.player, o)) {
            return true;
        }
    }
    return false;
}

void simulateTick() {
    if (game.phase != GamePhase::Playing) {
        return;
    }
    changeSpeed();
    clampSpeed();
    const float step = worldStep();
    steer();
    clampLateral();
    scrollRoad(step);
    moveTrees(step);
    advanceObstacles();
    countTick();
    // The colliding tick still counts: the score is the ticks survived
    // including the one that ended the race.
    if (hitsObstacle()) {
        game.phase = GamePhase::GameOver;
    }
}
