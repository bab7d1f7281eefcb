// The game's clock under a real freeglut event loop: a window is needed, so
// this is apart from the display-free rule tests.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "app/timer.h"
#include "game/simulation.h"
#include "game/state.h"
#include "tests/gl_window.h"
#include "tests/race_invariants.h"

namespace {

int framesDrawn = 0;

void countFrame() {
    ++framesDrawn;
}

void pumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// One test for the whole chain: freeglut cannot cancel a timer, so a chain
// started here would run on into any later test.
TEST(TimerTest, TicksRedrawsAndReArmsInEveryPhase) {
    openTestWindow();
    glutDisplayFunc(countFrame);
    game = GameState{};
    buildScenery();
    for (int i = 0; i < 50; ++i) {
        glutMainLoopEvent();
    }
    framesDrawn = 0;
    const GameState menu = game;
    onTimer(0);  // the world stands still, yet every tick redraws and re-arms
    pumpUntil([] { return framesDrawn >= 5; });
    EXPECT_GE(framesDrawn, 5);
    EXPECT_TRUE(sameWorld(menu, game));

    game.phase = GamePhase::Playing;  // the chain armed in the menu runs the race
    resetRace();
    game.player.x = 1.0f;
    const auto start = std::chrono::steady_clock::now();
    pumpUntil([] { return game.score >= 10; });
    EXPECT_GE(game.score, 10);
    // Nine gaps of at least kTickMs each: only one timer is ever pending.
    EXPECT_GE(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(9 * (kTickMs - 1)));
}

}  // namespace
