// Counts how many values of the C library generator a call consumes, by
// re-seeding and comparing what comes next, so rand itself stays untouched.
#pragma once

#include <cstdlib>
#include <functional>

// Number of rand() calls made by action when started from seed, or -1 if the
// generator's continuation is not found within limit draws.
inline int countRandDraws(const std::function<void()>& action, unsigned seed = 777,
                          int limit = 5000) {
    constexpr int kProbe = 4;
    std::srand(seed);
    action();
    int after[kProbe];
    for (int& value : after) {
        value = std::rand();
    }

    std::srand(seed);
    int sequence[kProbe];
    for (int& value : sequence) {
        value = std::rand();
    }
    for (int skipped = 0; skipped <= limit; ++skipped) {
        bool same = true;
        for (int k = 0; k < kProbe; ++k) {
            same = same && sequence[k] == after[k];
        }
        if (same) {
            return skipped;
        }
        for (int k = 0; k + 1 < kProbe; ++k) {
            sequence[k] = sequence[k + 1];
        }
        sequence[kProbe - 1] = std::rand();
    }
    return -1;
}
