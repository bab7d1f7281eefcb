#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "app/timer.h"
#include "game/simulation.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/gl_window.h"
#include "tests/race_invariants.h"
#include "tests/rand_draws.h"

namespace {

constexpr float kCruiseStep = 0.016f * 18.0f;  // world motion per tick at cruise

// A race just started, with the car between lanes where nothing can hit it.
void startSafeRace() {
    game = GameState{};
    buildScenery();
    game.phase = GamePhase::Playing;
    resetRace();
    game.player.x = 1.0f;
}

Obstacle boxAt(float x, float z, float width = 0.7f, float depth = 0.7f) {
    Obstacle o;
    o.x = x;
    o.z = z;
    o.width = width;
    o.height = 0.5f;
    o.y = 0.25f;
    o.depth = depth;
    o.kind = ObstacleKind::Box;
    return o;
}

// The first tick on which the speed sits at `limit`, holding `controls`.
int tickReachingSpeed(const ControlFlags& controls, float limit, float perTick) {
    startSafeRace();
    game.controls = controls;
    int reached = 0;
    for (int tick = 1; tick <= 400; ++tick) {
        const float before = game.player.speed;
        simulateTick();
        EXPECT_EQ(game.phase, GamePhase::Playing);
        if (reached == 0 && game.player.speed == limit) {
            reached = tick;
        } else if (reached == 0) {
            EXPECT_NEAR(game.player.speed - before, perTick, 1e-4f) << "tick " << tick;
        } else {
            EXPECT_EQ(game.player.speed, limit) << "tick " << tick;
        }
    }
    return reached;
}

TEST(SpeedTest, HeldKeysReachTheLimitsOnExactTicks) {
    EXPECT_EQ(tickReachingSpeed({false, true, false, false}, 42.0f, 0.128f), 188);
    EXPECT_EQ(tickReachingSpeed({true, false, false, false}, 8.0f, -0.128f), 79);
    // Accelerate wins when both are held.
    EXPECT_EQ(tickReachingSpeed({true, true, false, false}, 42.0f, 0.128f), 188);
}

TEST(SpeedTest, CruiseHoldsExactlyAndMovesTheWorldByItsStep) {
    startSafeRace();
    const float firstZ = game.obstacles.front().z;
    simulateTick();
    EXPECT_EQ(game.roadScroll, kCruiseStep);
    EXPECT_EQ(game.obstacles.front().z, firstZ + kCruiseStep);
    for (int tick = 2; tick <= 2000; ++tick) {
        simulateTick();
        ASSERT_EQ(game.player.speed, 18.0f) << "tick " << tick;
    }
    EXPECT_EQ(game.phase, GamePhase::Playing);
    EXPECT_EQ(game.score, 2000);
}

TEST(SpeedTest, DriftsFromTheTopBackToCruiseAndSettles) {
    startSafeRace();
    game.player.speed = 42.0f;
    int ticks = 0;
    while (game.player.speed > 18.0f + 0.0352f && ticks < 2000) {
        const float before = game.player.speed;
        simulateTick();
        ++ticks;
        ASSERT_NEAR(before - game.player.speed, 0.0352f, 1e-4f) << "tick " << ticks;
    }
    EXPECT_NEAR(ticks, 24.0f / 0.0352f, 2.0f);
    // Settled: it stays within one drift step of 18, crossing sides each tick.
    for (int tick = 0; tick < 200; ++tick) {
        const float before = game.player.speed;
        simulateTick();
        const float after = game.player.speed;
        ASSERT_LE(std::abs(after - 18.0f), 0.0352f) << "tick " << tick;
        if (before != 18.0f) {
            EXPECT_TRUE((before > 18.0f) != (after > 18.0f) || after == 18.0f)
                << before << " then " << after;
        }
    }
}

TEST(SteeringTest, StepScalesWithSpeedAndTiltsTheCar) {
    const struct {
        ControlFlags controls;
        float speed;
        float dx;
        float tilt;
    } cases[] = {
        {{false, false, false, true}, 18.0f, -0.112f, 12.0f},
        {{false, false, true, false}, 18.0f, 0.112f, -12.0f},
        {{false, false, true, true}, 18.0f, -0.112f, 12.0f},  // left wins
        {{false, true, false, true}, 42.0f, -42.0f / 18.0f * 0.112f, 12.0f},
        {{true, false, true, false}, 8.0f, 8.0f / 18.0f * 0.112f, -12.0f},
        {{false, false, false, false}, 18.0f, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        startSafeRace();
        game.player.speed = c.speed;
        game.player.tilt = 12.0f;
        game.controls = c.controls;
        simulateTick();
        EXPECT_EQ(game.player.speed, c.speed) << "clamped to its limit";
        EXPECT_NEAR(game.player.x - 1.0f, c.dx, 1e-6f) << "speed " << c.speed;
        EXPECT_EQ(game.player.tilt, c.tilt);
        EXPECT_EQ(game.player.z, 2.0f);
        EXPECT_EQ(game.player.y, 0.25f);
    }
}

TEST(SteeringTest, CrossesALaneInEighteenTicksAndStopsAtTheEdge) {
    for (const float side : {1.0f, -1.0f}) {
        startSafeRace();
        game.player.x = 0.0f;
        game.controls.steerRight = side > 0.0f;
        game.controls.steerLeft = side < 0.0f;
        for (int tick = 1; tick <= 17; ++tick) {
            simulateTick();
        }
        EXPECT_LT(side * game.player.x, 2.0f);
        simulateTick();
        EXPECT_GE(side * game.player.x, 2.0f);
        for (int tick = 19; tick <= 45; ++tick) {
            simulateTick();
            ASSERT_EQ(game.phase, GamePhase::Playing);
            ASSERT_LE(std::abs(game.player.x), 2.6f);
            ASSERT_EQ(game.player.z, 2.0f);
        }
        EXPECT_EQ(game.player.x, side * 2.6f);
    }
}

TEST(WorldTest, RoadWrapsAndTreesRecycleInTheSameTick) {
    startSafeRace();
    game.roadScroll = 399.8f;
    game.trees = {Tree{5.5f, 0.0f, 19.8f}, Tree{-6.5f, 0.0f, 19.7f}, Tree{4.5f, 0.0f, 20.0f},
                  Tree{7.5f, 0.0f, -300.0f}};
    simulateTick();
    EXPECT_NEAR(game.roadScroll, 399.8f + kCruiseStep - 400.0f, 1e-3f);
    EXPECT_NEAR(game.trees[0].z, 19.8f + kCruiseStep - 370.0f, 1e-3f);
    EXPECT_NEAR(game.trees[1].z, 19.7f + kCruiseStep, 1e-4f);
    EXPECT_NEAR(game.trees[2].z, 20.0f + kCruiseStep - 370.0f, 1e-3f);
    EXPECT_NEAR(game.trees[3].z, -300.0f + kCruiseStep, 1e-4f);
    EXPECT_EQ(game.trees[0].x, 5.5f);
}

TEST(StreamTest, RefillsAnEmptyStreamFromMinus64WithSixDrawsEach) {
    startSafeRace();
    game.obstacles.clear();
    EXPECT_EQ(countRandDraws(advanceObstacles, 99), 6 * kObstacleTarget);

    // The gap draw comes before the obstacle's own five.
    game.obstacles.clear();
    std::srand(99);
    advanceObstacles();
    const std::vector<Obstacle> made = game.obstacles;
    std::srand(99);
    float z = -64.0f;
    ASSERT_EQ(made.size(), static_cast<std::size_t>(kObstacleTarget));
    for (std::size_t i = 0; i < made.size(); ++i) {
        z -= static_cast<float>(std::rand() % 6);
        const Obstacle rolled = rollObstacle(z);
        EXPECT_EQ(made[i].z, z) << "obstacle " << i;
        EXPECT_EQ(made[i].x, rolled.x) << "obstacle " << i;
        EXPECT_EQ(made[i].kind, rolled.kind) << "obstacle " << i;
        z -= 14.0f;
    }
}

TEST(StreamTest, RetiresOnlyThePassedFrontAndAppendsOneBehind) {
    startSafeRace();
    game.obstacles[0].z = 14.7f;  // 14.988 after the tick: still kept
    const std::vector<Obstacle> before = game.obstacles;
    EXPECT_EQ(countRandDraws(advanceObstacles), 0);
    EXPECT_EQ(game.obstacles.size(), before.size());
    EXPECT_EQ(game.obstacles[0].x, before[0].x);

    game.obstacles[0].z = 14.8f;  // 15.088 after the tick: retired
    const std::vector<Obstacle> kept(game.obstacles.begin() + 1, game.obstacles.end());
    EXPECT_EQ(countRandDraws(advanceObstacles), 6);
    ASSERT_EQ(game.obstacles.size(), static_cast<std::size_t>(kObstacleTarget));
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(game.obstacles[i].z, kept[i].z + kCruiseStep) << "obstacle " << i;
        EXPECT_EQ(game.obstacles[i].x, kept[i].x) << "obstacle " << i;
    }
    const float gap = (kept.back().z + kCruiseStep) - game.obstacles.back().z;
    EXPECT_GE(gap, 14.0f);
    EXPECT_LE(gap, 19.0f);
    EXPECT_NEAR(gap, std::round(gap), 1e-4f);
}

TEST(StreamTest, RetirementIsStrictlyBeyondFifteen) {
    startSafeRace();
    game.player.speed = 0.0f;  // hold the stream still to put the front exactly on the line
    game.obstacles[0].z = 15.0f;
    advanceObstacles();
    EXPECT_EQ(game.obstacles[0].z, 15.0f);
    game.obstacles[0].z = std::nextafter(15.0f, 16.0f);
    advanceObstacles();
    EXPECT_LT(game.obstacles[0].z, 15.0f);
    EXPECT_EQ(game.obstacles.size(), static_cast<std::size_t>(kObstacleTarget));
}

TEST(StreamTest, KeepsEighteenInOrderAtEverySpeed) {
    startSafeRace();
    int refills = 0;
    for (int tick = 1; tick <= 30000; ++tick) {
        // Alternate long stretches of accelerating and braking.
        game.controls.accelerate = (tick / 700) % 2 == 0;
        game.controls.brake = !game.controls.accelerate;
        const float lastZ = game.obstacles.back().z;
        simulateTick();
        ASSERT_EQ(game.phase, GamePhase::Playing) << "the car between lanes was hit, tick " << tick;
        ASSERT_EQ(game.obstacles.size(), static_cast<std::size_t>(kObstacleTarget));
        ASSERT_LE(game.obstacles.front().z, 15.0f);
        // Gaps are whole numbers when made; single-precision steps added over
        // an obstacle's life of up to ~3000 ticks blur them by hundredths.
        for (std::size_t i = 1; i < game.obstacles.size(); ++i) {
            const float gap = game.obstacles[i - 1].z - game.obstacles[i].z;
            ASSERT_GE(gap, 14.0f - 0.05f) << "tick " << tick << ", index " << i;
            ASSERT_LE(gap, 19.0f + 0.05f) << "tick " << tick << ", index " << i;
        }
        refills += game.obstacles.back().z < lastZ ? 1 : 0;
    }
    // About 30000 ticks x 0.4 units / 16.5 units per obstacle.
    EXPECT_GT(refills, 500);
}

TEST(CollisionTest, BoundariesAreStrictInBothDirections) {
    startSafeRace();
    game.player.x = 0.0f;
    const float reachZ = 0.7f * 0.5f * 0.7f + 1.1f;
    const float reachX = 0.7f * 0.5f * 0.7f + 0.55f;
    EXPECT_NEAR(reachZ, 1.345f, 1e-6f);
    EXPECT_NEAR(reachX, 0.795f, 1e-6f);

    // Behind the car, exactly reachZ away: touching is not a hit.
    game.obstacles = {boxAt(0.0f, 2.0f + reachZ)};
    ASSERT_EQ(game.obstacles[0].z - 2.0f, reachZ);
    EXPECT_FALSE(hitsObstacle());
    game.obstacles[0].z = std::nextafter(game.obstacles[0].z, 0.0f);
    EXPECT_TRUE(hitsObstacle());
    game.obstacles[0].z = 2.0f - 1.3449f;
    EXPECT_TRUE(hitsObstacle());
    game.obstacles[0].z = 2.0f - 1.3451f;
    EXPECT_FALSE(hitsObstacle());

    // Beside the car, exactly reachX away on either side.
    game.obstacles = {boxAt(0.0f, 2.0f)};
    for (const float side : {1.0f, -1.0f}) {
        game.player.x = side * reachX;
        EXPECT_FALSE(hitsObstacle());
        game.player.x = side * std::nextafter(reachX, 0.0f);
        EXPECT_TRUE(hitsObstacle());
    }

    // The larger sizes reach further; height and kind play no part.
    Obstacle big = boxAt(0.0f, 2.0f + 1.43f, 0.95f, 0.95f);
    big.kind = ObstacleKind::Sphere;
    big.height = 0.8f;
    game.obstacles = {big};
    game.player.x = 0.88f;
    EXPECT_TRUE(hitsObstacle());
    game.obstacles[0].z = 2.0f + 1.435f;
    EXPECT_FALSE(hitsObstacle());
    game.obstacles[0].z = 2.0f;
    game.player.x = 0.885f;
    EXPECT_FALSE(hitsObstacle());
}

TEST(CollisionTest, CarBetweenLanesIsNeverHit) {
    startSafeRace();
    for (const float size : {0.7f, 0.95f}) {
        for (const float lane : {-2.0f, 0.0f, 2.0f}) {
            for (int step = -700; step <= 1100; ++step) {
                game.obstacles = {boxAt(lane, static_cast<float>(step) * 0.01f, size, size)};
                for (const float carX : {-1.0f, 1.0f}) {
                    game.player.x = carX;
                    ASSERT_FALSE(hitsObstacle()) << "lane " << lane << ", z " << step * 0.01f;
                }
                game.player.x = lane;  // the same obstacle does hit a car in its lane
                if (step == 200) {
                    EXPECT_TRUE(hitsObstacle());
                }
            }
        }
    }
}

TEST(CollisionTest, HitTickScoresEndsTheRaceAndFreezesTheWorld) {
    startSafeRace();
    simulateTick();
    game.player.x = 0.0f;
    game.controls.steerRight = true;  // still held when the race ends
    game.player.x = -0.112f;          // so the car is at x = 0 on the tick
    game.obstacles[0] = boxAt(0.0f, 0.55f);
    const GameState before = game;
    simulateTick();
    EXPECT_EQ(game.phase, GamePhase::GameOver);
    EXPECT_EQ(game.score, 2);
    EXPECT_EQ(game.obstacles[0].z, 0.55f + kCruiseStep) << "the obstacle stays where it hit";
    EXPECT_EQ(checkTickInvariants(before, game), "");

    for (int tick = 0; tick < 50; ++tick) {
        const GameState frozen = game;
        simulateTick();
        ASSERT_EQ(checkTickInvariants(frozen, game), "") << "tick " << tick;
    }
    EXPECT_TRUE(game.controls.steerRight);
    EXPECT_EQ(game.score, 2);
}

TEST(CollisionTest, MenuTicksMoveNothing) {
    game = GameState{};
    buildScenery();
    const GameState before = game;
    simulateTick();
    EXPECT_EQ(checkTickInvariants(before, game), "");
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.trees[0].z, before.trees[0].z);
}

// The invariant checker catches what it is meant to, so the randomized and
// soak runs that rely on it cannot pass by checking nothing.
TEST(InvariantCheckTest, FlagsBrokenTicks) {
    startSafeRace();
    GameState before = game;
    simulateTick();
    const GameState good = game;
    ASSERT_EQ(checkTickInvariants(before, good), "");

    const std::vector<std::function<void(GameState&)>> breakages = {
        [](GameState& s) { s.score += 1; },
        [](GameState& s) { s.player.speed = 42.5f; },
        [](GameState& s) { s.player.x = 2.7f; },
        [](GameState& s) { s.player.z = 2.1f; },
        [](GameState& s) { s.player.tilt = -12.0f; },
        [](GameState& s) { s.roadScroll += 1.0f; },
        [](GameState& s) { s.trees[3].z = 20.5f; },
        [](GameState& s) { s.obstacles.pop_back(); },
        [](GameState& s) { std::swap(s.obstacles[2], s.obstacles[3]); },
        [](GameState& s) { s.obstacles[0].z = 15.5f; },
        [](GameState& s) { s.phase = GamePhase::GameOver; },
        [](GameState& s) { s.controls.brake = true; },
    };
    for (std::size_t i = 0; i < breakages.size(); ++i) {
        GameState bad = good;
        breakages[i](bad);
        EXPECT_NE(checkTickInvariants(before, bad), "") << "breakage " << i;
    }

    before.phase = GamePhase::Menu;
    EXPECT_NE(checkTickInvariants(before, good), "") << "the world moved outside a race";
}

int framesDrawn = 0;

void countFrame() {
    ++framesDrawn;
}

// Runs freeglut's events until done() or a generous deadline.
void pumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// One test for the whole timer chain: freeglut cannot cancel a timer, so a
// chain started here would leak into any later test.
TEST(TimerTest, TicksRedrawsAndReArmsInEveryPhase) {
    openTestWindow();
    glutDisplayFunc(countFrame);
    game = GameState{};
    buildScenery();
    for (int i = 0; i < 50; ++i) {
        glutMainLoopEvent();
    }

    // Keys never ask for a redraw themselves; without a timer nothing is drawn.
    framesDrawn = 0;
    onKeyDown('s', 0, 0);
    onSpecialDown(kSpecialLeft, 0, 0);
    onSpecialUp(kSpecialLeft, 0, 0);
    onKeyUp('s', 0, 0);
    game.phase = GamePhase::Menu;
    for (int i = 0; i < 50; ++i) {
        glutMainLoopEvent();
    }
    EXPECT_EQ(framesDrawn, 0);

    // In the menu the world stays still, but every tick redraws and re-arms.
    const GameState menu = game;
    onTimer(0);
    pumpUntil([] { return framesDrawn >= 5; });
    EXPECT_GE(framesDrawn, 5);
    EXPECT_EQ(checkTickInvariants(menu, game), "");

    // The chain armed in the menu carries the race, one tick at a time.
    game.phase = GamePhase::Playing;
    resetRace();
    game.player.x = 1.0f;
    const auto start = std::chrono::steady_clock::now();
    pumpUntil([] { return game.score >= 10; });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(game.score, 10);
    EXPECT_NEAR(game.roadScroll, static_cast<float>(game.score) * kCruiseStep, 1e-3f);
    // Nine gaps of at least kTickMs each: a single timer is pending.
    EXPECT_GE(elapsed, std::chrono::milliseconds(9 * (kTickMs - 1)));
}

}  // namespace
