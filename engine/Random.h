// The program's own uniform random generator: a 32-bit linear congruential generator. Every
// engine owns one, shared by its delay laws, its choice among conflicting transitions and the
// colours of its chart series. Each draw advances the seed once, so a run from a given seed
// repeats draw for draw, and engines running side by side never take each other's draws.
#pragma once

#include <cstdint>

struct TRandom {
    std::uint32_t Seed = 0;
    // Numbers drawn since the count was last set to 0: the batch simulator checks that a
    // replication stayed within its share of the generator's cycle.
    std::uint64_t Draws = 0;
};

// The seed `steps` draws after `seed`, found in O(log steps): replications start their streams
// spread evenly around the generator's cycle of 2^32.
std::uint32_t AdvancedSeed(std::uint32_t seed, std::uint64_t steps);

// Sets the seed from the clock: the editor at start-up, kvl-sim when no seed is given.
void SeedFromClock(TRandom& random);

// A real in [0, 1). Inline: every launch draws.
inline double UniformRandom(TRandom& random) {
    random.Seed = random.Seed * 134775813u + 1u;
    ++random.Draws;
    return random.Seed * (1.0 / 4294967296.0);
}
// An integer in [0, n) for n > 0.
std::int32_t RandomInteger(TRandom& random, std::int32_t n);
