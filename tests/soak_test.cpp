// A million ticks of random play on the display-free core: keys of both kinds
// pressed and released at random, races restarted whenever one ends, and every
// rule checked after every tick and every key.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "tests/random_player.h"

namespace {

constexpr long kSoakTicks = 1000000;
constexpr std::uint32_t kPlaySeed = 20240611;

int below(std::mt19937& random, int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
}

// Runs of up to `ticks` ticks, each as long as a move can hold.
void addTicks(std::vector<Move>& moves, int ticks) {
    for (; ticks > 0; ticks -= 256) {
        moves.push_back(tickMove(std::min(ticks, 256)));
    }
}

// A careful player, right after a race starts at cruise speed: nine ticks of
// steering put the car at x = 1.008, between two lanes where no obstacle
// reaches, and from then on only the speed changes. Such races run long
// enough to wrap the road scroll.
std::vector<Move> driveBetweenLanes(std::mt19937& random) {
    constexpr unsigned char kSpeedLetters[] = {'w', 'I', 's', 'K'};
    std::vector<Move> moves = {specialMove(true, kSpecialRight), tickMove(9),
                               specialMove(false, kSpecialRight)};
    for (int i = 0; i < 10; ++i) {
        const unsigned char key = kSpeedLetters[below(random, 4)];
        moves.push_back(letterMove(true, key));
        addTicks(moves, below(random, 300));
        moves.push_back(letterMove(false, key));
        addTicks(moves, below(random, 200));
    }
    return moves;
}

// After a game over, half the time: race again or go through the menu, as a
// player would; otherwise the random keys find their own way back.
std::vector<Move> restart(std::mt19937& random) {
    if (below(random, 2) == 0) {
        return {letterMove(true, 'r')};
    }
    return {letterMove(true, 'm'), letterMove(true, 's')};
}

// Plays until kSoakTicks ticks have run; returns the first fault or "".
std::string soak(std::mt19937& random, Player& player) {
    std::string fault = player.play(letterMove(true, 's'));
    while (fault.empty() && player.figures().ticks < kSoakTicks) {
        const GamePhase before = game.phase;
        std::vector<Move> moves = {randomMove(random)};
        if (before == GamePhase::GameOver && below(random, 2) == 0) {
            moves = restart(random);
        }
        for (const Move& move : moves) {
            fault = fault.empty() ? player.play(move) : fault;
        }
        const bool raceStarted = before != GamePhase::Playing && game.phase == GamePhase::Playing;
        if (raceStarted && game.score == 0 && below(random, 10) == 0) {
            for (const Move& move : driveBetweenLanes(random)) {
                fault = fault.empty() ? player.play(move) : fault;
            }
        }
    }
    return fault;
}

TEST(SoakTest, MillionTicksOfRandomPlayKeepEveryRule) {
    std::mt19937 random(kPlaySeed);
    Player player;
    ASSERT_EQ(soak(random, player), "");

    const PlayFigures& f = player.figures();
    std::printf(
        "soak: %ld ticks, %ld key events, %ld races ended, longest race %ld ticks, "
        "%ld road scroll wraps\n",
        f.ticks, f.keyEvents, f.racesEnded, f.longestRace, f.scrollWraps);
    EXPECT_GE(f.ticks, kSoakTicks);
    // The play really went everywhere the rules guard: many races, both speed
    // clamps, both road edges and the road scroll's wrap.
    EXPECT_GT(f.racesEnded, 1000);
    EXPECT_GT(f.scrollWraps, 10);
    EXPECT_EQ(f.minSpeed, kMinSpeed);
    EXPECT_EQ(f.maxSpeed, kMaxSpeed);
    EXPECT_EQ(f.minX, -kLateralLimit);
    EXPECT_EQ(f.maxX, kLateralLimit);
}

TEST(SoakTest, SameSeedPlaysTheSameGame) {
    // A shorter replay: the same seed must reach the very same record.
    auto play = [](std::uint32_t seed) {
        std::mt19937 random(seed);
        Player player;
        for (int i = 0; i < 20000; ++i) {
            player.play(randomMove(random));
        }
        return game;
    };
    const GameState first = play(kPlaySeed);
    const GameState second = play(kPlaySeed);
    EXPECT_TRUE(sameWorld(first, second));
}

}  // namespace
