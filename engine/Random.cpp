#include "Random.h"

#include <chrono>

namespace {

void AdvanceSeed(TRandom& random) {
    random.Seed = random.Seed * 134775813u + 1u;
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
