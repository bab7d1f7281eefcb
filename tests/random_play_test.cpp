#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "game/simulation.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/race_invariants.h"

namespace {

// Mostly the game's keys, now and then any byte but Escape (which would end
// the test process).
unsigned char randomByte(std::mt19937& rng) {
    static const std::string kKeys = "wasdijklWASDIJKLsSrRmMq ";
    const unsigned char any = static_cast<unsigned char>(rng() % 256);
    return rng() % 8 != 0 ? kKeys[rng() % kKeys.size()] : (any == kEscape ? 'x' : any);
}

// One press or release now and then: every ~25 ticks in a race, so keys stay
// held long enough to reach the limits, every ~4 elsewhere, so races restart.
void pressRandomKeys(std::mt19937& rng) {
    if (rng() % (game.phase == GamePhase::Playing ? 25 : 4) != 0) {
        return;
    }
    const int arrow = rng() % 6 ? kSpecialLeft + static_cast<int>(rng() % 4) : rng() % 200;
    switch (rng() % 4) {
        case 0:
            return onKeyDown(randomByte(rng), 0, 0);
        case 1:
            return onKeyUp(randomByte(rng), 0, 0);
        case 2:
            return onSpecialDown(arrow, 0, 0);
        default:
            return onSpecialUp(arrow, 0, 0);
    }
}

class RandomPlayTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomPlayTest, EveryTickKeepsTheRulesOfTheRace) {
    const unsigned seed = GetParam();
    std::mt19937 rng(seed);
    game = GameState{};
    buildScenery();
    std::srand(seed);  // the obstacle stream, apart from the key choices
    int raceTicks = 0, collisions = 0, atTopSpeed = 0, atBottomSpeed = 0, atEdge = 0;
    for (int tick = 0; tick < 100000; ++tick) {
        pressRandomKeys(rng);
        const GameState before = game;
        simulateTick();
        ASSERT_EQ(checkTickInvariants(before, game), "") << "seed " << seed << ", tick " << tick;
        if (before.phase == GamePhase::Playing) {
            ++raceTicks;
            collisions += game.phase == GamePhase::GameOver;
            atTopSpeed += game.player.speed == kMaxSpeed;
            atBottomSpeed += game.player.speed == kMinSpeed;
            atEdge += std::abs(game.player.x) == kLateralLimit;
        }
    }
    // The run went where the rules bite.
    EXPECT_GT(raceTicks, 30000);
    EXPECT_GT(collisions, 100);
    EXPECT_GT(atTopSpeed, 0);
    EXPECT_GT(atBottomSpeed, 0);
    EXPECT_GT(atEdge, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPlayTest, ::testing::Values(1u, 20240917u, 777u, 31337u));

}  // namespace
