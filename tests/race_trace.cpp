// Prints, after every tick of one long seeded random-key game, the tick's
// number and a hash of every field of the state: the same moves must give
// the same states, bit for bit, on every processor the game is built for.
#include <cinttypes>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "tests/random_player.h"

namespace {

constexpr long kTraceTicks = 200000;
constexpr unsigned kTraceSeed = 20261210;

// FNV-1a over the bit patterns, so that no rounding in printing hides a
// difference. The records hashed whole have no padding.
static_assert(sizeof(ControlFlags) == 4 && sizeof(Tree) == 12 && sizeof(Obstacle) == 28 &&
              sizeof(PlayerCar) == 20);

void hashBytes(std::uint64_t& hash, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
}

std::uint64_t hashState(const GameState& s) {
    std::uint64_t hash = 14695981039346656037ull;
    hashBytes(hash, &s.score, sizeof s.score);
    hashBytes(hash, &s.roadScroll, sizeof s.roadScroll);
    hashBytes(hash, &s.controls, sizeof s.controls);
    hashBytes(hash, s.trees.data(), s.trees.size() * sizeof(Tree));
    hashBytes(hash, s.obstacles.data(), s.obstacles.size() * sizeof(Obstacle));
    hashBytes(hash, &s.player, sizeof s.player);
    hashBytes(hash, &s.phase, sizeof s.phase);
    hashBytes(hash, &s.windowWidth, sizeof s.windowWidth);
    hashBytes(hash, &s.windowHeight, sizeof s.windowHeight);
    return hash;
}

}  // namespace

int main() {
    std::mt19937 random(kTraceSeed);
    std::srand(kTraceSeed);  // the obstacle stream
    Player player;
    while (player.figures().ticks < kTraceTicks) {
        Move move = randomMove(random);
        // A run of ticks is played one tick at a time, to print each.
        const int ticks = move.opcode % 3 == 2 ? move.argument + 1 : 0;
        move.argument = ticks > 0 ? 0 : move.argument;
        for (int i = 0; i < (ticks > 0 ? ticks : 1); ++i) {
            const std::string fault = player.play(move);
            if (!fault.empty()) {
                std::fprintf(stderr, "race_trace: %s\n", fault.c_str());
                return 1;
            }
            if (ticks > 0) {
                std::printf("%ld %016" PRIx64 "\n", player.figures().ticks, hashState(game));
            }
        }
    }
    return 0;
}
