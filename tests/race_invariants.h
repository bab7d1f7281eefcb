// What one simulation tick may and may not do to the game record. Shared by
// the randomized play test, the soak test and the fuzz target, so it depends
// on nothing but the game core (no test framework).
#pragma once

#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>

#include "game/simulation.h"
#include "game/state.h"

namespace raceinvariants {

// Half-extents of the collision boxes over every obstacle size: any hit lies
// inside the widest, nothing inside the narrowest may go unnoticed.
constexpr float kWidestReachX = 0.95f * 0.5f * 0.7f + 0.55f;
constexpr float kWidestReachZ = 0.95f * 0.5f * 0.7f + 1.1f;
constexpr float kNarrowestReachX = 0.7f * 0.5f * 0.7f + 0.55f;
constexpr float kNarrowestReachZ = 0.7f * 0.5f * 0.7f + 1.1f;

// Joins the parts of a fault description; only called once a rule is broken.
template <typename... Parts>
std::string message(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

inline bool sameCar(const PlayerCar& a, const PlayerCar& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.speed == b.speed && a.tilt == b.tilt;
}

inline bool sameControls(const ControlFlags& a, const ControlFlags& b) {
    return a.brake == b.brake && a.accelerate == b.accelerate && a.steerRight == b.steerRight &&
           a.steerLeft == b.steerLeft;
}

inline bool sameTrees(const GameState& a, const GameState& b) {
    if (a.trees.size() != b.trees.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.trees.size(); ++i) {
        const Tree& s = a.trees[i];
        const Tree& t = b.trees[i];
        if (s.x != t.x || s.y != t.y || s.z != t.z) {
            return false;
        }
    }
    return true;
}

inline bool sameObstacles(const GameState& a, const GameState& b) {
    if (a.obstacles.size() != b.obstacles.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.obstacles.size(); ++i) {
        const Obstacle& o = a.obstacles[i];
        const Obstacle& p = b.obstacles[i];
        if (o.x != p.x || o.y != p.y || o.z != p.z || o.width != p.width || o.height != p.height ||
            o.depth != p.depth || o.kind != p.kind) {
            return false;
        }
    }
    return true;
}

// At most kObstacleTarget, nearest first in strictly decreasing z.
inline std::string checkObstacleOrder(const GameState& s) {
    if (s.obstacles.size() > static_cast<std::size_t>(kObstacleTarget)) {
        return message(s.obstacles.size(), " obstacles, more than ", kObstacleTarget);
    }
    for (std::size_t i = 1; i < s.obstacles.size(); ++i) {
        if (!(s.obstacles[i].z < s.obstacles[i - 1].z)) {
            return message("obstacle z not strictly decreasing at index ", i, ": ",
                           s.obstacles[i - 1].z, " then ", s.obstacles[i].z);
        }
    }
    return {};
}

// Outside a race a tick changes nothing at all.
inline std::string checkFrozen(const GameState& before, const GameState& after) {
    if (after.phase != before.phase) {
        return "phase changed outside a race";
    }
    if (after.score != before.score) {
        return "score changed outside a race";
    }
    if (!sameCar(before.player, after.player)) {
        return "car moved outside a race";
    }
    if (after.roadScroll != before.roadScroll) {
        return "road scrolled outside a race";
    }
    if (!sameTrees(before, after)) {
        return "trees moved outside a race";
    }
    if (!sameObstacles(before, after)) {
        return "obstacles changed outside a race";
    }
    if (!sameControls(before.controls, after.controls)) {
        return "a tick changed the held controls";
    }
    return {};
}

inline std::string checkCar(const GameState& before, const GameState& after) {
    const PlayerCar& car = after.player;
    if (!(car.speed >= kMinSpeed && car.speed <= kMaxSpeed)) {
        return message("speed ", car.speed, " outside [", kMinSpeed, ", ", kMaxSpeed, "]");
    }
    if (std::abs(car.speed - before.player.speed) > 0.129f) {
        return message("speed jumped from ", before.player.speed, " to ", car.speed);
    }
    if (!(std::abs(car.x) <= kLateralLimit)) {
        return message("car x ", car.x, " outside [-", kLateralLimit, ", ", kLateralLimit, "]");
    }
    if (car.z != 2.0f || before.player.z != 2.0f) {
        return message("car z moved: ", before.player.z, " to ", car.z);
    }
    if (car.y != before.player.y) {
        return message("car y moved: ", before.player.y, " to ", car.y);
    }
    const ControlFlags& c = after.controls;
    const float tilt = c.steerLeft ? kSteerTilt : (c.steerRight ? -kSteerTilt : 0.0f);
    if (car.tilt != tilt) {
        return message("tilt ", car.tilt, " while the held controls call for ", tilt);
    }
    return {};
}

// The road and the trees move toward the car by the tick's step and wrap.
inline std::string checkWorldMotion(const GameState& before, const GameState& after) {
    const float step = 0.016f * after.player.speed;
    float scrolled = after.roadScroll - before.roadScroll;
    if (scrolled < 0.0f) {
        scrolled += kScrollPeriod;
    }
    if (!(after.roadScroll >= 0.0f && after.roadScroll <= kScrollPeriod)) {
        return message("road scroll ", after.roadScroll, " outside [0, ", kScrollPeriod, "]");
    }
    if (std::abs(scrolled - step) > 1e-3f) {
        return message("road scrolled by ", scrolled, " in a tick of step ", step);
    }
    if (after.trees.size() != before.trees.size()) {
        return message("tree count changed from ", before.trees.size(), " to ", after.trees.size());
    }
    for (const Tree& t : after.trees) {
        if (t.z > kTreeRecycleZ) {
            return message("tree left at z ", t.z, ", beyond ", kTreeRecycleZ);
        }
    }
    return {};
}

inline std::string checkStream(const GameState& after) {
    if (after.obstacles.size() != static_cast<std::size_t>(kObstacleTarget)) {
        return message(after.obstacles.size(), " obstacles after a race tick, not ",
                       kObstacleTarget);
    }
    if (after.obstacles.front().z > kObstacleRetireZ) {
        return message("passed obstacle kept at z ", after.obstacles.front().z);
    }
    return {};
}

// Whether some obstacle lies within the given reach of the car.
inline bool anyObstacleWithin(const GameState& s, float reachX, float reachZ) {
    for (const Obstacle& o : s.obstacles) {
        if (std::abs(s.player.x - o.x) < reachX && std::abs(s.player.z - o.z) < reachZ) {
            return true;
        }
    }
    return false;
}

// A race ends exactly when an obstacle touches the car.
inline std::string checkOutcome(const GameState& after) {
    if (after.phase == GamePhase::GameOver &&
        !anyObstacleWithin(after, kWidestReachX, kWidestReachZ)) {
        return "race ended with no obstacle near the car";
    }
    if (after.phase == GamePhase::Playing &&
        anyObstacleWithin(after, kNarrowestReachX, kNarrowestReachZ)) {
        return "race goes on with an obstacle on the car";
    }
    if (after.phase == GamePhase::Menu) {
        return "a race tick went back to the menu";
    }
    return {};
}

inline std::string checkRaceTick(const GameState& before, const GameState& after) {
    if (after.score != before.score + 1) {
        return message("score went from ", before.score, " to ", after.score, " in a race tick");
    }
    if (!sameControls(before.controls, after.controls)) {
        return "a tick changed the held controls";
    }
    std::string fault = checkCar(before, after);
    if (fault.empty()) {
        fault = checkWorldMotion(before, after);
    }
    if (fault.empty()) {
        fault = checkStream(after);
    }
    if (fault.empty()) {
        fault = checkOutcome(after);
    }
    return fault;
}

}  // namespace raceinvariants

// Checks one simulateTick() that turned `before` into `after`. Returns a
// description of the first broken rule, or an empty string when all hold.
inline std::string checkTickInvariants(const GameState& before, const GameState& after) {
    std::string fault = raceinvariants::checkObstacleOrder(after);
    if (fault.empty()) {
        fault = before.phase == GamePhase::Playing ? raceinvariants::checkRaceTick(before, after)
                                                   : raceinvariants::checkFrozen(before, after);
    }
    return fault;
}
