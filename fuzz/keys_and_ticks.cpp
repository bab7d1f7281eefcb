// Feeds arbitrary key presses, releases and runs of ticks through the real
// keyboard handlers and simulateTick, and aborts on the first broken rule.
// Each input is a list of the random player's moves, two bytes each
// (tests/random_player.h), played from the game as the program starts it:
// the menu, with the scenery laid out from its fixed seed, so each input
// replays exactly.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/random_player.h"

namespace {

// Bounds the time one input may take: enough for a race at top speed to
// wrap the road scroll (595 ticks), or for several short races.
constexpr long kMaxTicksPerInput = 600;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Player player;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const long budget = kMaxTicksPerInput - player.figures().ticks;
        if (budget <= 0) {
            break;
        }
        Move move{data[i], data[i + 1]};
        if (move.opcode % 3 == 2) {
            move.argument = static_cast<std::uint8_t>(std::min<long>(move.argument, budget - 1));
        }
        const std::string fault = player.play(move);
        if (!fault.empty()) {
            std::fprintf(stderr, "kestrun_fuzz: %s\n", fault.c_str());
            std::abort();
        }
    }
    return 0;
}
