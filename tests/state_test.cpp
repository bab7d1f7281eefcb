#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "game/state.h"
#include "game/world.h"
#include "tests/rand_draws.h"

namespace {

// Puts the one game record back to its process-start values.
void resetGame() {
    game = GameState{};
}

TEST(GameStateTest, StartValuesAndLayout) {
    const GameState fresh;
    EXPECT_EQ(fresh.score, 0);
    EXPECT_EQ(fresh.roadScroll, 0.0f);
    EXPECT_FALSE(fresh.controls.brake || fresh.controls.accelerate || fresh.controls.steerRight ||
                 fresh.controls.steerLeft);
    EXPECT_TRUE(fresh.trees.empty());
    EXPECT_TRUE(fresh.obstacles.empty());
    EXPECT_EQ(fresh.player.x, 0.0f);
    EXPECT_EQ(fresh.player.y, 0.0f);
    EXPECT_EQ(fresh.player.z, 0.0f);
    EXPECT_EQ(fresh.player.speed, 0.0f);
    EXPECT_EQ(fresh.player.tilt, 0.0f);
    EXPECT_EQ(fresh.phase, GamePhase::Menu);
    EXPECT_EQ(fresh.windowWidth, 800);
    EXPECT_EQ(fresh.windowHeight, 600);

    // The enumerations are stored as 32-bit integers with the listed values.
    static_assert(sizeof(GamePhase) == 4 && sizeof(ObstacleKind) == 4);
    static_assert(static_cast<int>(GamePhase::GameOver) == 2);
    static_assert(static_cast<int>(ObstacleKind::Cylinder) == 2);
    static_assert(sizeof(ControlFlags) == 4 && sizeof(PlayerCar) == 5 * sizeof(float));
    static_assert(offsetof(ControlFlags, brake) == 0 && offsetof(ControlFlags, steerLeft) == 3);
    static_assert(offsetof(Obstacle, depth) == 5 * sizeof(float));
    static_assert(offsetof(Obstacle, kind) == 6 * sizeof(float));
}

TEST(RollObstacleTest, MakesFiveDrawsAndKeepsZ) {
    float z = 0.0f;
    EXPECT_EQ(countRandDraws([&] { z = rollObstacle(-123.5f).z; }), 5);
    EXPECT_EQ(z, -123.5f);
}

TEST(RollObstacleTest, MapsEachDrawToItsField) {
    // Replay the generator by hand and check each field against its own draw.
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::srand(seed);
        const int lane = std::rand() % 3;
        const int kind = std::rand() % 3;
        const int wide = std::rand() % 2;
        const int tall = std::rand() % 2;
        const int deep = std::rand() % 2;
        std::srand(seed);
        const Obstacle o = rollObstacle(-15.0f);
        const float lanes[] = {-2.0f, 0.0f, 2.0f};
        EXPECT_EQ(o.x, lanes[lane]);
        EXPECT_EQ(static_cast<int>(o.kind), kind);
        EXPECT_EQ(o.width, wide ? 0.95f : 0.7f);
        EXPECT_EQ(o.height, tall ? 0.8f : 0.5f);
        EXPECT_EQ(o.y, o.height * 0.5f);
        EXPECT_EQ(o.depth, deep ? 0.95f : 0.7f);
    }
}

TEST(ResetRaceTest, PlacesCarAndEighteenObstacles) {
    resetGame();
    buildScenery();
    const std::vector<Tree> trees = game.trees;
    game.phase = GamePhase::GameOver;
    game.windowWidth = 321;
    game.windowHeight = 0;
    game.score = 99;
    game.roadScroll = 17.0f;
    game.controls = ControlFlags{true, true, true, true};
    game.player.tilt = -12.0f;
    game.player.x = 2.6f;
    game.player.speed = 42.0f;
    game.obstacles.assign(3, Obstacle{});

    EXPECT_EQ(countRandDraws(resetRace), 90);

    EXPECT_EQ(game.player.tilt, 0.0f);
    EXPECT_EQ(game.player.x, 0.0f);
    EXPECT_EQ(game.player.y, 0.25f);
    EXPECT_EQ(game.player.z, 2.0f);
    EXPECT_EQ(game.player.speed, 18.0f);
    EXPECT_FALSE(game.controls.brake || game.controls.accelerate || game.controls.steerRight ||
                 game.controls.steerLeft);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.roadScroll, 0.0f);

    ASSERT_EQ(game.obstacles.size(), 18u);
    for (std::size_t i = 0; i < game.obstacles.size(); ++i) {
        const Obstacle& o = game.obstacles[i];
        EXPECT_EQ(o.z, -15.0f - 14.0f * static_cast<float>(i));
        EXPECT_EQ(o.y, o.height * 0.5f);
    }
    EXPECT_EQ(game.obstacles.back().z, -253.0f);

    // Not the race's business.
    EXPECT_EQ(game.phase, GamePhase::GameOver);
    EXPECT_EQ(game.windowWidth, 321);
    EXPECT_EQ(game.windowHeight, 0);
    ASSERT_EQ(game.trees.size(), trees.size());
    for (std::size_t i = 0; i < trees.size(); ++i) {
        EXPECT_EQ(game.trees[i].z, trees[i].z);
    }
}

TEST(ResetRaceTest, ObstaclesFollowTheGeneratorInOrder) {
    resetGame();
    std::srand(4242);
    std::vector<Obstacle> expected;
    for (int i = 0; i < kObstacleTarget; ++i) {
        expected.push_back(
            rollObstacle(kFirstObstacleZ - kObstacleSpacing * static_cast<float>(i)));
    }
    std::srand(4242);
    resetRace();
    ASSERT_EQ(game.obstacles.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(game.obstacles[i].x, expected[i].x);
        EXPECT_EQ(game.obstacles[i].kind, expected[i].kind);
        EXPECT_EQ(game.obstacles[i].width, expected[i].width);
        EXPECT_EQ(game.obstacles[i].depth, expected[i].depth);
    }
}

TEST(BuildSceneryTest, SeventyTreesBesideTheRoad) {
    resetGame();
    buildScenery();
    ASSERT_EQ(game.trees.size(), static_cast<std::size_t>(kTreeCount));
    bool left = false;
    bool right = false;
    for (const Tree& t : game.trees) {
        const float side = std::abs(t.x);
        EXPECT_GE(side, 4.5f);
        EXPECT_LE(side, 21.5f);
        EXPECT_EQ(side - std::floor(side), 0.5f) << "x is a whole number plus 4.5";
        EXPECT_EQ(t.y, 0.0f);
        EXPECT_GE(t.z, -350.0f);
        EXPECT_LE(t.z, 69.0f);
        EXPECT_EQ(t.z, std::floor(t.z));
        left = left || t.x < 0.0f;
        right = right || t.x > 0.0f;
    }
    EXPECT_TRUE(left && right);
}

TEST(BuildSceneryTest, ReseedsAndDrawsExactly210) {
    resetGame();
    // Whatever the earlier seed, the scenery and what follows it are the same.
    std::srand(1);
    buildScenery();
    const std::vector<Tree> first = game.trees;
    const int nextAfterFirst = std::rand();
    std::srand(987654);
    game.trees.push_back(Tree{1.0f, 2.0f, 3.0f});
    buildScenery();
    ASSERT_EQ(game.trees.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(game.trees[i].x, first[i].x);
        EXPECT_EQ(game.trees[i].z, first[i].z);
    }
    EXPECT_EQ(std::rand(), nextAfterFirst);

    // 210 draws after the reseed: the generator continues at the 211th value.
    std::srand(kSceneSeed);
    for (int i = 0; i < 3 * kTreeCount; ++i) {
        std::rand();
    }
    const int expectedNext = std::rand();
    buildScenery();
    EXPECT_EQ(std::rand(), expectedNext);

    // The layout is the replayed generator's.
    std::srand(kSceneSeed);
    for (const Tree& t : game.trees) {
        const int r1 = std::rand();
        const int r2 = std::rand();
        const int r3 = std::rand();
        EXPECT_EQ(t.x, (r1 % 2 == 1 ? 1.0f : -1.0f) * (static_cast<float>(r2 % 18) + 4.5f));
        EXPECT_EQ(t.z, static_cast<float>(r3 % 420 - 350));
    }
}

}  // namespace
