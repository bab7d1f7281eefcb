// What one simulateTick() or one key event may do to the game record. The
// random player checks them; it needs no test framework, nor do they.
#pragma once

#include <cstddef>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "game/simulation.h"
#include "game/state.h"

// Bitwise equality of arrays of plain float and int records (no padding).
template <typename T>
bool sameRecords(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

inline bool sameWorld(const GameState& a, const GameState& b) {
    return a.score == b.score && a.roadScroll == b.roadScroll && a.phase == b.phase &&
           std::memcmp(&a.player, &b.player, sizeof a.player) == 0 &&
           std::memcmp(&a.controls, &b.controls, sizeof a.controls) == 0 &&
           sameRecords(a.trees, b.trees) && sameRecords(a.obstacles, b.obstacles);
}

// At most kObstacleTarget (exactly, after a race tick) in strictly decreasing z.
inline std::string checkObstacles(const GameState& s, bool afterRaceTick) {
    const std::size_t count = s.obstacles.size();
    const std::size_t target = kObstacleTarget;
    if (count > target || (afterRaceTick && count != target)) {
        return std::to_string(count) + " obstacles";
    }
    for (std::size_t i = 1; i < count; ++i) {
        if (!(s.obstacles[i].z < s.obstacles[i - 1].z)) {
            return "obstacle z not strictly decreasing at index " + std::to_string(i);
        }
    }
    if (afterRaceTick && s.obstacles.front().z > kObstacleRetireZ) {
        return "passed obstacle kept at z " + std::to_string(s.obstacles.front().z);
    }
    return {};
}

// Checks the tick that turned `before` into `after`: the first broken rule,
// or an empty string when all hold.
inline std::string checkTickInvariants(const GameState& before, const GameState& after) {
    if (before.phase != GamePhase::Playing) {
        return sameWorld(before, after) ? checkObstacles(after, false)
                                        : "the world changed outside a race";
    }
    const PlayerCar& car = after.player;
    const bool counts = before.score < std::numeric_limits<decltype(before.score)>::max();
    if (after.score != (counts ? before.score + 1 : before.score)) {
        return "score " + std::to_string(before.score) + " became " + std::to_string(after.score);
    }
    const struct {
        const char* name;
        float value, low, high;
    } ranges[] = {{"speed", car.speed, kMinSpeed, kMaxSpeed},
                  {"car x", car.x, -kLateralLimit, kLateralLimit},
                  {"road scroll", after.roadScroll, 0.0f, kScrollPeriod},
                  {"car z along the road", car.z, kCarZ, kCarZ}};
    for (const auto& r : ranges) {
        if (!(r.value >= r.low && r.value <= r.high)) {
            return std::string(r.name) + " " + std::to_string(r.value) + " outside [" +
                   std::to_string(r.low) + ", " + std::to_string(r.high) + "]";
        }
    }
    if (after.phase == GamePhase::Menu ||
        std::memcmp(&before.controls, &after.controls, sizeof after.controls) != 0) {
        return "a race tick changed the phase to the menu or the held controls";
    }
    for (const Tree& tree : after.trees) {
        if (tree.z > kTreeRecycleZ) {
            return "tree left at z " + std::to_string(tree.z);
        }
    }
    return checkObstacles(after, true);
}

// Checks the key event that turned `before` into `after` (letterDown: a letter
// key's key-down, the only event that may change the phase): a key may only
// move the phase along the game's own transitions, and every move into a race
// or back to the menu starts from a fresh race.
inline std::string checkKeyInvariants(const GameState& before, const GameState& after,
                                      bool letterDown, unsigned char key) {
    std::string fault = checkObstacles(after, false);
    if (!fault.empty() || after.phase == before.phase) {
        return fault;
    }
    const auto is = [key](char lower) { return key == lower || key == lower - 'a' + 'A'; };
    const GamePhase from = before.phase;
    const GamePhase to = after.phase;
    const bool allowed =
        letterDown && ((from == GamePhase::Menu && to == GamePhase::Playing && is('s')) ||
                       (from == GamePhase::GameOver && to == GamePhase::Playing && is('r')) ||
                       (from == GamePhase::GameOver && to == GamePhase::Menu && is('m')));
    if (!allowed) {
        return "key " + std::to_string(key) + " moved the phase from " +
               std::to_string(static_cast<int>(from)) + " to " +
               std::to_string(static_cast<int>(to));
    }
    if (after.score != 0 || after.obstacles.size() != static_cast<std::size_t>(kObstacleTarget) ||
        after.player.x != 0.0f || after.player.speed != kCruiseSpeed) {
        return "a phase change did not start from a fresh race";
    }
    return {};
}
