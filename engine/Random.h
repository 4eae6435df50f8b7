// The program's own uniform random generator: a 32-bit linear congruential generator shared by
// the delay laws, the choice among conflicting transitions and the colours of chart series.
// Each draw advances the seed once, so a run from a given seed repeats draw for draw.
#pragma once

#include <cstdint>

extern std::uint32_t RandomSeed;

// Sets the seed from the clock; the editor does it once at start-up.
void SeedRandomFromClock();

// A real in [0, 1). Inline: every launch draws.
inline double UniformRandom() {
    RandomSeed = RandomSeed * 134775813u + 1u;
    return RandomSeed * (1.0 / 4294967296.0);
}
// An integer in [0, n) for n > 0.
std::int32_t RandomInteger(std::int32_t n);
