// The program's own uniform random generator: a 32-bit linear congruential generator. Every
// engine owns one, shared by its delay laws, its choice among conflicting transitions and the
// colours of its chart series. Each draw advances the seed once, so a run from a given seed
// repeats draw for draw, and engines running side by side never take each other's draws.
#pragma once

#include <cstdint>

struct TRandom {
    std::uint32_t Seed = 0;
};

// Sets the seed from the clock: the editor at start-up, kvl-sim when no seed is given.
void SeedFromClock(TRandom& random);

// A real in [0, 1). Inline: every launch draws.
inline double UniformRandom(TRandom& random) {
    random.Seed = random.Seed * 134775813u + 1u;
    return random.Seed * (1.0 / 4294967296.0);
}
// An integer in [0, n) for n > 0.
std::int32_t RandomInteger(TRandom& random, std::int32_t n);
