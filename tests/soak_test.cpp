// A million ticks of random play on the display-free core: keys of both kinds
// pressed and released at random, races restarted whenever one ends, and every
// rule checked after every tick and every key.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "game/simulation.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/race_invariants.h"

namespace {

constexpr long kSoakTicks = 1000000;
constexpr std::uint32_t kPlaySeed = 20240611;

// The game's own keys, a few it ignores, and the arrows. Escape (27) is left
// out: it ends the process.
constexpr unsigned char kLetters[] = {'a', 'A', 'j', 'J', 'd',  'D', 'l', 'L', 'w',
                                      'W', 'i', 'I', 's', 'S',  'k', 'K', 'r', 'R',
                                      'm', 'M', 'x', ' ', '\r', 0,   127, 200, 255};
constexpr int kSpecials[] = {kSpecialLeft, kSpecialUp, kSpecialRight, kSpecialDown, 1, 104, 112};

struct SoakFigures {
    long ticks = 0;
    long keyEvents = 0;
    long racesEnded = 0;
    long longestRace = 0;
    long scrollWraps = 0;
    float minSpeed = 100.0f;
    float maxSpeed = 0.0f;
    float minX = 0.0f;
    float maxX = 0.0f;
};

class RandomPlayer {
public:
    explicit RandomPlayer(std::uint32_t seed) : random_(seed) {}

    // One random key press or release, of either kind; returns a fault or "".
    std::string pressOrRelease() {
        const GameState before = game;
        const bool down = chance(0.5);
        if (chance(0.7)) {
            const unsigned char key = kLetters[pick(sizeof(kLetters))];
            down ? onKeyDown(key, 0, 0) : onKeyUp(key, 0, 0);
            return checkKeyInvariants(before, game, down, key);
        }
        const int key = kSpecials[pick(sizeof(kSpecials) / sizeof(kSpecials[0]))];
        down ? onSpecialDown(key, 0, 0) : onSpecialUp(key, 0, 0);
        return checkKeyInvariants(before, game, false, 0);
    }

    // Sometimes a race is left to run for a long while with the keys as they are.
    int ticksUntilNextKey() { return chance(0.02) ? pick(600) : pick(8); }

    // After a game over: race again or go through the menu, as a player would.
    void restart() {
        if (chance(0.5)) {
            onKeyDown('r', 0, 0);
        } else {
            onKeyDown('m', 0, 0);
            onKeyDown('s', 0, 0);
        }
    }

    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < p; }

    int pick(std::size_t count) {
        return std::uniform_int_distribution<int>(0, static_cast<int>(count) - 1)(random_);
    }

private:
    std::mt19937 random_;
};

void record(SoakFigures& figures, long raceTicks) {
    const PlayerCar& car = game.player;
    if (game.phase == GamePhase::Playing || game.phase == GamePhase::GameOver) {
        figures.minSpeed = std::min(figures.minSpeed, car.speed);
        figures.maxSpeed = std::max(figures.maxSpeed, car.speed);
        figures.minX = std::min(figures.minX, car.x);
        figures.maxX = std::max(figures.maxX, car.x);
    }
    figures.longestRace = std::max(figures.longestRace, raceTicks);
}

// One tick, checked; counts what the figures need. Returns a fault or "".
std::string checkedTick(SoakFigures& figures, long& raceTicks) {
    const GameState before = game;
    simulateTick();
    ++figures.ticks;
    raceTicks = game.phase == GamePhase::Playing ? raceTicks + 1 : raceTicks;
    std::string fault = checkTickInvariants(before, game);
    if (fault.empty() && !(game.roadScroll >= 0.0f && game.roadScroll <= 400.0f)) {
        fault = "road scroll " + std::to_string(game.roadScroll) + " outside [0, 400]";
    }
    figures.scrollWraps += game.roadScroll < before.roadScroll ? 1 : 0;
    if (before.phase == GamePhase::Playing && game.phase == GamePhase::GameOver) {
        ++figures.racesEnded;
        record(figures, raceTicks);
        raceTicks = 0;
    }
    return fault.empty() ? fault : "tick " + std::to_string(figures.ticks) + ": " + fault;
}

std::string checkedTicks(int count, SoakFigures& figures, long& raceTicks) {
    std::string fault;
    for (; count > 0 && fault.empty() && figures.ticks < kSoakTicks; --count) {
        fault = checkedTick(figures, raceTicks);
    }
    return fault;
}

// A careful player, right after a race starts at cruise speed: nine ticks of
// steering put the car at x = 1.008, between two lanes where no obstacle
// reaches, and from then on only the speed changes. Such races run long
// enough to wrap the road scroll.
std::string driveBetweenLanes(RandomPlayer& player, SoakFigures& figures, long& raceTicks) {
    constexpr unsigned char kSpeedLetters[] = {'w', 'I', 's', 'K'};
    onSpecialDown(kSpecialRight, 0, 0);
    std::string fault = checkedTicks(9, figures, raceTicks);
    onSpecialUp(kSpecialRight, 0, 0);
    for (int i = 0; i < 10 && fault.empty(); ++i) {
        const unsigned char key = kSpeedLetters[player.pick(4)];
        onKeyDown(key, 0, 0);
        fault = checkedTicks(player.pick(300), figures, raceTicks);
        onKeyUp(key, 0, 0);
        if (fault.empty()) {
            fault = checkedTicks(player.pick(200), figures, raceTicks);
        }
    }
    return fault;
}

// Plays until kSoakTicks ticks have run; returns the first fault or "".
std::string soak(RandomPlayer& player, SoakFigures& figures) {
    game = GameState{};
    buildScenery();
    onKeyDown('s', 0, 0);
    long raceTicks = 0;
    while (figures.ticks < kSoakTicks) {
        std::string fault = checkedTicks(player.ticksUntilNextKey(), figures, raceTicks);
        const GamePhase before = game.phase;
        // Half the time after a game over the random keys find their own way back.
        if (before == GamePhase::GameOver && player.chance(0.5)) {
            player.restart();
        }
        ++figures.keyEvents;
        if (fault.empty()) {
            fault = player.pressOrRelease();
            if (!fault.empty()) {
                fault = "key event " + std::to_string(figures.keyEvents) + ": " + fault;
            }
        }
        record(figures, raceTicks);
        const bool raceStarted = before != GamePhase::Playing && game.phase == GamePhase::Playing;
        if (fault.empty() && raceStarted && game.score == 0 && player.chance(0.1)) {
            fault = driveBetweenLanes(player, figures, raceTicks);
        }
        if (!fault.empty()) {
            return fault;
        }
    }
    return {};
}

TEST(SoakTest, MillionTicksOfRandomPlayKeepEveryRule) {
    RandomPlayer player(kPlaySeed);
    SoakFigures figures;
    const std::string fault = soak(player, figures);
    ASSERT_EQ(fault, "");

    std::printf(
        "soak: %ld ticks, %ld key events, %ld races ended, longest race %ld ticks, "
        "%ld road scroll wraps\n",
        figures.ticks, figures.keyEvents, figures.racesEnded, figures.longestRace,
        figures.scrollWraps);
    EXPECT_EQ(figures.ticks, kSoakTicks);
    // The play really went everywhere the rules guard: many races, both speed
    // clamps, both road edges and the road scroll's wrap.
    EXPECT_GT(figures.racesEnded, 1000);
    EXPECT_GT(figures.scrollWraps, 10);
    EXPECT_EQ(figures.minSpeed, kMinSpeed);
    EXPECT_EQ(figures.maxSpeed, kMaxSpeed);
    EXPECT_EQ(figures.minX, -kLateralLimit);
    EXPECT_EQ(figures.maxX, kLateralLimit);
}

TEST(SoakTest, SameSeedPlaysTheSameGame) {
    // A shorter replay: the same seed must reach the very same record.
    auto play = [](std::uint32_t seed) {
        RandomPlayer player(seed);
        game = GameState{};
        buildScenery();
        onKeyDown('s', 0, 0);
        for (int i = 0; i < 20000; ++i) {
            for (int n = player.ticksUntilNextKey(); n > 0; --n) {
                simulateTick();
            }
            if (game.phase == GamePhase::GameOver) {
                player.restart();
            }
            player.pressOrRelease();
        }
        return game;
    };
    const GameState first = play(kPlaySeed);
    const GameState second = play(kPlaySeed);
    EXPECT_EQ(first.score, second.score);
    EXPECT_EQ(first.phase, second.phase);
    EXPECT_EQ(first.roadScroll, second.roadScroll);
    EXPECT_EQ(std::memcmp(&first.player, &second.player, sizeof first.player), 0);
    ASSERT_EQ(first.obstacles.size(), second.obstacles.size());
    EXPECT_EQ(std::memcmp(first.obstacles.data(), second.obstacles.data(),
                          first.obstacles.size() * sizeof(Obstacle)),
              0);
}

}  // namespace
