#include "StudyStreams.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kCycle = std::uint64_t{1} << 32;

// The generator is x -> a x + c modulo 2^32, so 2^s draws on from any point the numbers are the
// old ones plus a shift that repeats with period 2^(30 - s): a pure constant 2^30 draws on, one
// of two alternating ones 2^29 draws on, and so on. Two streams whose starts lie within D draws of
// such a distance for a large s are therefore shifted copies of each other, lagged by under D
// draws, as far as D draws go; 2^32/R spacing does exactly that (with R = 4, stream 1 is stream 0
// plus 0.75). From 2^26 down, the shifts take 16 and more values in turn, which draws used for
// different purposes average out.
constexpr int kStrongestShift = 31;
constexpr int kWeakestStrongShift = 26;

// The least lag, over all pairs of streams and all strong distances, at which the starts of two
// streams spaced `spacing` apart come near such a distance; stops early at `enough`.
std::uint64_t LeastLag(std::uint64_t spacing, std::uint64_t streams, std::uint64_t enough) {
    std::uint64_t least = kCycle;
    for (std::uint64_t d = 1; d < streams; ++d) {
        const std::uint64_t distance = d * spacing;
        for (int s = kWeakestStrongShift; s <= kStrongestShift; ++s) {
            const std::uint64_t period = std::uint64_t{1} << s;
            const std::uint64_t rest = distance % period;
            least = std::min(least, std::min(rest, period - rest));
            if (least <= enough)
                return least;
        }
    }
    return least;
}

} // namespace

std::uint64_t StreamSpacing(std::uint64_t streams) {
    if (streams <= 1)
        return kCycle - 1;
    // Slightly less than 2^32/R, by 1/64 and a few steps more, odd, chosen among 64 candidates so
    // that no two streams come within the largest possible lag of a strong distance: then
    // replications that draw fewer numbers than that lag (about 2^25/R) are not shifted copies
    // of each other anywhere. Beyond 4096 streams that lag is too small to matter.
    const std::uint64_t even = kCycle / streams;
    std::uint64_t candidate = (even - even / 64) | 1;
    if (candidate >= even)
        candidate -= 2;
    if (streams > 4096)
        return candidate;
    std::uint64_t best = candidate;
    std::uint64_t bestLag = 0;
    for (int tries = 0; tries < 64 && candidate > 2; ++tries, candidate -= 2) {
        const std::uint64_t lag = LeastLag(candidate, streams, bestLag);
        if (lag > bestLag) {
            best = candidate;
            bestLag = lag;
        }
    }
    return best;
}
