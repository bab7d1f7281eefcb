#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "game/simulation.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/race_invariants.h"

namespace {

// What the random player saw, so a run that never raced cannot pass.
struct Tally {
    int raceTicks = 0;
    int idleTicks = 0;
    int collisions = 0;
    int topSpeedTicks = 0;
    int bottomSpeedTicks = 0;
    int edgeTicks = 0;
};

// Keys worth pressing often, plus any byte now and then (never Escape, which
// would end the test process).
unsigned char randomLetter(std::mt19937& rng) {
    static const std::string kKeys = "wasdijklWASDIJKLsSrRmMq ";
    if (rng() % 8 == 0) {
        const unsigned char any = static_cast<unsigned char>(rng() % 256);
        return any == kEscape ? 'x' : any;
    }
    return static_cast<unsigned char>(kKeys[rng() % kKeys.size()]);
}

int randomSpecial(std::mt19937& rng) {
    return rng() % 6 == 0 ? static_cast<int>(rng() % 200)
                          : kSpecialLeft + static_cast<int>(rng() % 4);
}

// Presses and releases alike: about one every 25 ticks (0.4 s) in a race, so
// keys stay held long enough to reach the speed limits and the road's edges,
// and one every 4 ticks on the other screens, so the next race soon starts.
void pressRandomKeys(std::mt19937& rng) {
    const unsigned every = game.phase == GamePhase::Playing ? 25 : 4;
    if (rng() % every != 0) {
        return;
    }
    switch (rng() % 4) {
        case 0:
            onKeyDown(randomLetter(rng), 0, 0);
            break;
        case 1:
            onKeyUp(randomLetter(rng), 0, 0);
            break;
        case 2:
            onSpecialDown(randomSpecial(rng), 0, 0);
            break;
        default:
            onSpecialUp(randomSpecial(rng), 0, 0);
            break;
    }
}

void count(const GameState& before, Tally& tally) {
    if (before.phase != GamePhase::Playing) {
        ++tally.idleTicks;
        return;
    }
    ++tally.raceTicks;
    tally.collisions += game.phase == GamePhase::GameOver ? 1 : 0;
    tally.topSpeedTicks += game.player.speed == kMaxSpeed ? 1 : 0;
    tally.bottomSpeedTicks += game.player.speed == kMinSpeed ? 1 : 0;
    tally.edgeTicks += game.player.x == kLateralLimit || game.player.x == -kLateralLimit ? 1 : 0;
}

class RandomPlayTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomPlayTest, EveryTickKeepsTheRulesOfTheRace) {
    const unsigned seed = GetParam();
    std::mt19937 rng(seed);
    game = GameState{};
    buildScenery();
    std::srand(seed);  // the obstacle stream, independent of the key choices

    Tally tally;
    for (int tick = 0; tick < 100000; ++tick) {
        pressRandomKeys(rng);
        const GameState before = game;
        simulateTick();
        const std::string fault = checkTickInvariants(before, game);
        ASSERT_EQ(fault, "") << "seed " << seed << ", tick " << tick;
        count(before, tally);
    }
    SCOPED_TRACE(::testing::Message()
                 << "seed " << seed << ": " << tally.raceTicks << " race ticks, " << tally.idleTicks
                 << " idle, " << tally.collisions << " collisions, " << tally.topSpeedTicks
                 << " at top speed, " << tally.bottomSpeedTicks << " at bottom speed, "
                 << tally.edgeTicks << " at the road's edge");
    EXPECT_GT(tally.raceTicks, 30000);
    EXPECT_GT(tally.idleTicks, 100);
    EXPECT_GT(tally.collisions, 100);
    EXPECT_GT(tally.topSpeedTicks, 0);
    EXPECT_GT(tally.bottomSpeedTicks, 0);
    EXPECT_GT(tally.edgeTicks, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPlayTest, ::testing::Values(1u, 20240917u, 777u, 31337u));

}  // namespace
