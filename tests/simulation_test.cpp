#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

#include "game/simulation.h"
#include "game/state.h"
#include "tests/race_invariants.h"
#include "tests/rand_draws.h"

namespace {

constexpr float kCruiseStep = kSecondsPerTick * kCruiseSpeed;  // world motion per tick at cruise

// A race just started, with the car between lanes where nothing can hit it.
void startSafeRace() {
    game = GameState{};
    buildScenery();
    game.phase = GamePhase::Playing;
    resetRace();
    game.player.x = 1.0f;
}

Obstacle boxAt(float x, float z, float size = 0.7f) {
    return Obstacle{x, 0.25f, z, size, 0.5f, size, ObstacleKind::Box};
}

// The first tick whose speed is `limit`, holding the controls from cruise.
int tickReaching(const ControlFlags& controls, float limit) {
    startSafeRace();
    game.controls = controls;
    for (int tick = 1; tick <= 300; ++tick) {
        simulateTick();
        if (game.player.speed == limit) {
            return tick;
        }
    }
    return 0;
}

TEST(SpeedTest, HeldKeysReachTheLimitsOnExactTicksAndStay) {
    EXPECT_EQ(tickReaching({false, true, false, false}, 42.0f), 188);
    EXPECT_EQ(tickReaching({true, true, false, false}, 42.0f), 188);  // accelerate wins
    simulateTick();
    EXPECT_EQ(game.player.speed, 42.0f);
    EXPECT_EQ(tickReaching({true, false, false, false}, 8.0f), 79);
    simulateTick();
    EXPECT_EQ(game.player.speed, 8.0f);
}

TEST(SpeedTest, CruiseIsExactAndTheTopDriftsBackWithinOneStep) {
    startSafeRace();
    const float frontZ = game.obstacles.front().z;
    simulateTick();
    EXPECT_EQ(game.roadScroll, kCruiseStep);
    EXPECT_EQ(game.obstacles.front().z, frontZ + kCruiseStep);
    for (int tick = 0; tick < 1000; ++tick) {
        simulateTick();
        ASSERT_EQ(game.player.speed, kCruiseSpeed);
    }
    game.player.speed = 42.0f;
    for (int tick = 0; tick < 700; ++tick) {
        simulateTick();
    }
    for (int tick = 0; tick < 100; ++tick) {  // settled: crossing 18 each tick
        const float before = game.player.speed;
        simulateTick();
        ASSERT_LE(std::abs(game.player.speed - kCruiseSpeed), 0.0352f);
        ASSERT_TRUE(before == kCruiseSpeed ||
                    (before > kCruiseSpeed) != (game.player.speed > kCruiseSpeed));
    }
}

TEST(SteeringTest, StepScalesWithSpeedLeftWinsTheCarTiltsAndTheWorldMoves) {
    const struct {
        ControlFlags controls;
        float speed, dx, tilt;
    } cases[] = {
        {{false, false, false, true}, 18.0f, -0.112f, 12.0f},
        {{false, false, true, false}, 18.0f, 0.112f, -12.0f},
        {{false, false, true, true}, 18.0f, -0.112f, 12.0f},
        {{false, true, false, true}, 42.0f, -42.0f / 18.0f * 0.112f, 12.0f},
        {{true, false, true, false}, 8.0f, 8.0f / 18.0f * 0.112f, -12.0f},
        {{false, false, false, false}, 18.0f, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        startSafeRace();
        game.player.speed = c.speed;
        game.player.tilt = 12.0f;
        game.controls = c.controls;
        game.trees = {{5.5f, 0.0f, -100.0f}};
        simulateTick();
        EXPECT_NEAR(game.player.x - 1.0f, c.dx, 1e-6f) << "speed " << c.speed;
        EXPECT_EQ(game.player.tilt, c.tilt);
        // The world, not the car, moves: at the car's own speed.
        EXPECT_EQ(game.roadScroll, kSecondsPerTick * c.speed);
        EXPECT_EQ(game.trees[0].z, -100.0f + kSecondsPerTick * c.speed);
    }
}

TEST(SteeringTest, CrossesALaneInEighteenTicksStopsAtTheEdgeNeverMovesAlong) {
    for (const float side : {1.0f, -1.0f}) {
        startSafeRace();
        game.player.x = 0.0f;
        game.controls = {false, false, side > 0.0f, side < 0.0f};
        for (int tick = 1; tick <= 45; ++tick) {
            simulateTick();
            ASSERT_EQ(game.player.z, 2.0f);
            if (tick == 17 || tick == 18) {
                EXPECT_EQ(side * game.player.x >= 2.0f, tick == 18);
            }
        }
        EXPECT_EQ(game.phase, GamePhase::Playing);
        EXPECT_EQ(game.player.x, side * 2.6f);
    }
}

TEST(WorldTest, RoadWrapsAndTreesRecycleInTheSameTick) {
    startSafeRace();
    game.roadScroll = 399.8f;
    game.trees = {{5.5f, 0.0f, 19.8f}, {-6.5f, 0.0f, 19.7f}, {4.5f, 0.0f, -300.0f}};
    simulateTick();
    EXPECT_NEAR(game.roadScroll, 399.8f + kCruiseStep - 400.0f, 1e-3f);
    EXPECT_NEAR(game.trees[0].z, 19.8f + kCruiseStep - 370.0f, 1e-3f);
    EXPECT_NEAR(game.trees[1].z, 19.7f + kCruiseStep, 1e-4f);
    EXPECT_NEAR(game.trees[2].z, -300.0f + kCruiseStep, 1e-4f);
}

TEST(StreamTest, RefillsFromMinus64WithTheGapDrawFirst) {
    startSafeRace();
    game.obstacles.clear();
    EXPECT_EQ(countRandDraws(advanceObstacles, 99), 6 * kObstacleTarget);
    game.obstacles.clear();
    std::srand(99);
    advanceObstacles();
    const std::vector<Obstacle> made = game.obstacles;
    std::srand(99);
    float base = -64.0f;
    for (const Obstacle& o : made) {
        const float z = base - static_cast<float>(std::rand() % 6);
        EXPECT_EQ(o.z, z);
        EXPECT_EQ(o.x, rollObstacle(z).x);
        base = z - 14.0f;
    }
}

TEST(StreamTest, RetiresOnlyThePassedFrontAndAppendsOneBehind) {
    startSafeRace();
    game.obstacles[0].z = 14.7f;  // 14.988 after the step: kept
    EXPECT_EQ(countRandDraws(advanceObstacles), 0);
    EXPECT_EQ(game.obstacles[0].z, 14.7f + kCruiseStep);

    game.obstacles[0].z = 14.8f;  // 15.088 after the step: retired
    const std::vector<Obstacle> rest(game.obstacles.begin() + 1, game.obstacles.end());
    EXPECT_EQ(countRandDraws(advanceObstacles), 6);
    ASSERT_EQ(game.obstacles.size(), rest.size() + 1);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        EXPECT_EQ(game.obstacles[i].z, rest[i].z + kCruiseStep);
    }
    const float gap = rest.back().z + kCruiseStep - game.obstacles.back().z;
    EXPECT_TRUE(gap >= 14.0f && gap <= 19.0f && std::abs(gap - std::round(gap)) < 1e-4f) << gap;

    game.player.speed = 0.0f;  // a still stream puts the front exactly on the line
    game.obstacles[0].z = 15.0f;
    advanceObstacles();
    EXPECT_EQ(game.obstacles[0].z, 15.0f);
}

TEST(CollisionTest, BoundariesAreStrict) {
    startSafeRace();
    game.player.x = 0.0f;
    const float reachZ = 0.7f * 0.5f * 0.7f + 1.1f;  // 1.345
    game.obstacles = {boxAt(0.0f, 2.0f + reachZ)};
    ASSERT_EQ(game.obstacles[0].z - 2.0f, reachZ);  // touching exactly
    EXPECT_FALSE(hitsObstacle());
    game.obstacles[0].z = std::nextafter(game.obstacles[0].z, 0.0f);
    EXPECT_TRUE(hitsObstacle());

    const float reachX = 0.7f * 0.5f * 0.7f + 0.55f;  // 0.795
    game.obstacles = {boxAt(0.0f, 2.0f)};
    game.player.x = -reachX;
    EXPECT_FALSE(hitsObstacle());
    game.player.x = std::nextafter(-reachX, 0.0f);
    EXPECT_TRUE(hitsObstacle());

    game.obstacles = {boxAt(0.0f, 2.0f + 1.43f, 0.95f)};  // the larger size reaches further
    game.player.x = 0.88f;
    EXPECT_TRUE(hitsObstacle());
    game.player.x = 0.885f;
    EXPECT_FALSE(hitsObstacle());
}

TEST(CollisionTest, CarBetweenLanesIsNeverHit) {
    startSafeRace();
    for (const float size : {0.7f, 0.95f}) {
        for (const float lane : {-2.0f, 0.0f, 2.0f}) {
            for (int cm = -700; cm <= 1100; ++cm) {
                game.obstacles = {boxAt(lane, static_cast<float>(cm) * 0.01f, size)};
                for (const float x : {-1.0f, 1.0f}) {
                    game.player.x = x;
                    ASSERT_FALSE(hitsObstacle()) << "lane " << lane << ", z " << cm * 0.01f;
                }
            }
        }
    }
}

TEST(CollisionTest, TheHittingTickScoresEndsTheRaceAndFreezesTheWorld) {
    startSafeRace();
    game.player.x = 0.0f;
    game.controls.accelerate = true;
    game.obstacles[0] = boxAt(0.0f, 0.55f);  // 0.55 + 0.29 is within 1.345 of 2
    simulateTick();
    EXPECT_EQ(game.phase, GamePhase::GameOver);
    EXPECT_EQ(game.score, 1);
    EXPECT_EQ(game.obstacles[0].z, 0.55f + kSecondsPerTick * game.player.speed);
    for (int tick = 0; tick < 50; ++tick) {
        const GameState frozen = game;
        simulateTick();
        ASSERT_TRUE(sameWorld(frozen, game));
    }
    EXPECT_TRUE(game.controls.accelerate);
}

TEST(ScoreTest, StopsAtItsLargestValue) {
    const auto top = std::numeric_limits<decltype(game.score)>::max();
    for (const auto start : {top - 1, top}) {
        startSafeRace();
        game.score = start;
        simulateTick();
        EXPECT_EQ(game.score, top) << "from " << start;
    }
}

// The checker the randomized and soak runs rely on does catch broken ticks.
TEST(InvariantCheckTest, FlagsBrokenTicks) {
    startSafeRace();
    GameState before = game;
    simulateTick();
    ASSERT_EQ(checkTickInvariants(before, game), "");
    const std::function<void(GameState&)> breakages[] = {
        [](GameState& s) { s.score += 1; },
        [](GameState& s) { s.player.speed = 42.5f; },
        [](GameState& s) { s.player.x = -2.7f; },
        [](GameState& s) { s.trees[3].z = 20.5f; },
        [](GameState& s) { s.obstacles.pop_back(); },
        [](GameState& s) { std::swap(s.obstacles[2], s.obstacles[3]); },
        [](GameState& s) { s.obstacles[0].z = 15.5f; },
    };
    for (const auto& breakage : breakages) {
        GameState bad = game;
        breakage(bad);
        EXPECT_NE(checkTickInvariants(before, bad), "");
    }
    before.phase = GamePhase::Menu;
    EXPECT_NE(checkTickInvariants(before, game), "");
}

}  // namespace
