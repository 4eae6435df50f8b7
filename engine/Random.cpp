#include "Random.h"

#include <chrono>

std::uint32_t RandomSeed = 0;

namespace {

void AdvanceSeed() { RandomSeed = RandomSeed * 134775813u + 1u; }

} // namespace

void SeedRandomFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    RandomSeed = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::int32_t RandomInteger(std::int32_t n) {
    AdvanceSeed();
    const std::uint64_t product = static_cast<std::uint64_t>(RandomSeed) * static_cast<std::uint32_t>(n);
    return static_cast<std::int32_t>(product >> 32);
}
