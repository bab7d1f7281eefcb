#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "tests/random_player.h"

namespace {

class RandomPlayTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomPlayTest, EveryTickKeepsTheRulesOfTheRace) {
    const unsigned seed = GetParam();
    std::mt19937 random(seed);
    Player player;
    std::srand(seed);  // the obstacle stream, apart from the key choices
    while (player.figures().ticks < 100000) {
        ASSERT_EQ(player.play(randomMove(random)), "") << "seed " << seed;
    }
    // The run went where the rules bite.
    const PlayFigures& f = player.figures();
    std::printf("seed %u: %ld race ticks, %ld races ended, speed %.1f to %.1f, x %.2f to %.2f\n",
                seed, f.raceTicks, f.racesEnded, f.minSpeed, f.maxSpeed, f.minX, f.maxX);
    EXPECT_GT(f.raceTicks, 30000);
    EXPECT_GT(f.racesEnded, 100);
    EXPECT_EQ(f.maxSpeed, kMaxSpeed);
    EXPECT_EQ(f.minSpeed, kMinSpeed);
    EXPECT_TRUE(f.minX == -kLateralLimit || f.maxX == kLateralLimit);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPlayTest, ::testing::Values(1u, 20240917u, 777u, 31337u));

}  // namespace
