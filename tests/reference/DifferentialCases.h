// How many random cases a differential test runs and from which seed. Sanitized builds run a
// fifth of them; KVL_DIFFERENTIAL_SCALE (a factor) scales the counts further and
// KVL_DIFFERENTIAL_SEED sets the first case seed, so that a reported case runs alone with
// KVL_DIFFERENTIAL_SEED=<seed> KVL_DIFFERENTIAL_SCALE=0.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
constexpr double kBuildScale = 0.2;
#else
constexpr double kBuildScale = 1;
#endif

constexpr int kFailureLimit = 3;
// Below this many runs (a single case being reproduced) the corpus is not checked for coverage.
constexpr int kCoverageRuns = 100;

template <typename Number> inline Number EnvironmentNumber(const char* name, Number fallback) {
    const char* text = std::getenv(name);
    Number value = fallback;
    if (text != nullptr)
        std::from_chars(text, text + std::strlen(text), value);
    return value;
}

inline int CaseCount(int normal) {
    const double scale = kBuildScale * EnvironmentNumber("KVL_DIFFERENTIAL_SCALE", 1.0);
    return std::max(1, static_cast<int>(normal * scale));
}

inline std::uint64_t CaseSeed(std::uint64_t first, int index) {
    return EnvironmentNumber<std::uint64_t>("KVL_DIFFERENTIAL_SEED", first) + index;
}
