#include "Random.h"

#include <chrono>

namespace {

constexpr std::uint32_t kMultiplier = 134775813u;
constexpr std::uint32_t kIncrement = 1u;

void AdvanceSeed(TRandom& random) {
    random.Seed = random.Seed * kMultiplier + kIncrement;
    ++random.Draws;
}

} // namespace

void SeedFromClock(TRandom& random) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    random.Seed = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::int32_t RandomInteger(TRandom& random, std::int32_t n) {
    AdvanceSeed(random);
    const std::uint64_t product =
        static_cast<std::uint64_t>(random.Seed) * static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(product >> 32);
}

std::uint32_t AdvancedSeed(std::uint32_t seed, std::uint64_t steps) {
    // One step is x -> a x + c; 2^k steps compose to x -> A x + C. Squaring the map doubles the
    // steps: (A, C) -> (A A, A C + C). All arithmetic wraps modulo 2^32, as the generator's does.
    std::uint32_t multiplier = kMultiplier;
    std::uint32_t increment = kIncrement;
    for (; steps != 0; steps >>= 1) {
        if (steps & 1)
            seed = seed * multiplier + increment;
        increment = multiplier * increment + increment;
        multiplier *= multiplier;
    }
    return seed;
}
