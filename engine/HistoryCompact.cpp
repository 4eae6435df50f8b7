// Compaction of a history into about `normal` interval means, in one pass. The intervals run
// between kept samples: the first sample, for each point of an even grid over the history the
// first sample at or after it, and the last sample. A kept sample keeps its time and its running
// totals, so the totals stay exact at every sample of the compacted history; its value becomes
// the time-weighted mean up to the next kept sample, and a vertex's running count of tokens
// extends to the stretch's end. The last sample keeps everything: it holds the value in force now.
#include "HistoryCompact.h"

#include "HistoryTotals.h"

#include <cmath>

namespace {

// Compaction starts when the history holds this many samples.
std::size_t CompactionThreshold(std::int32_t normal) {
    return static_cast<std::size_t>(std::ceil(2.05 * normal));
}

bool ShouldCompact(const HistoryList& history, std::int32_t normal) {
    return normal >= 1 && !(2.05 * normal > history.Count()) && history.Count() > 1;
}

// The compacted list is built in a spare array that keeps its capacity between compactions and
// has room for every sample up to the next compaction, so recording allocates nothing.
std::vector<HistorySample>& SpareSamples(std::int32_t normal) {
    static thread_local std::vector<HistorySample> spare;
    spare.clear();
    spare.reserve(CompactionThreshold(normal));
    return spare;
}

// What a sample's running total counts up to.
enum class TAuxKind {
    TokensReceived, // a vertex: up to the next sample, so a merged stretch takes its last sample's
    BusyTotal, // a transition: up to the sample's own time, kept from the stretch's first sample
};

void Compact(HistoryList& history, std::int32_t normal, double warmUpTime, TAuxKind auxKind) {
    if (!ShouldCompact(history, normal))
        return;
    const auto& samples = history.Samples;
    const std::size_t count = samples.size();
    const double first = samples.front().Time;
    const double last = samples.back().Time;
    const double step = (last - first) / normal;

    // The totals at the warm-up time are taken while the stretch around it still holds the
    // value really in force; afterwards they could only be interpolated.
    if (warmUpTime > first && warmUpTime < last &&
        LastSampleAtOrBefore(history, warmUpTime) >= history.MeanCount) {
        const THistoryTotals totals = TotalsAt(history, warmUpTime);
        history.Anchor = {true,        warmUpTime,           totals.Area, totals.ReceivedBefore,
                          totals.Busy, totals.NextSampleTime};
    }

    std::vector<HistorySample>& compacted = SpareSamples(normal);
    std::int32_t gridPoint = 1; // the next grid point, first + gridPoint * step, lies after the
                                // samples already passed
    double grid = gridPoint < normal ? first + gridPoint * step : INFINITY;
    std::size_t kept = 0; // the sample that opens the current stretch
    double area = 0;      // the stretch's time integral so far
    for (std::size_t next = 1; next < count; ++next) {
        const HistorySample& previous = samples[next - 1];
        const double time = samples[next].Time;
        area += previous.Value * (time - previous.Time);
        if (grid > time && next != count - 1)
            continue;
        while (grid <= time)
            grid = ++gridPoint < normal ? first + gridPoint * step : INFINITY;
        HistorySample merged = samples[kept];
        merged.Value = area / (time - merged.Time);
        if (auxKind == TAuxKind::TokensReceived)
            merged.Aux = previous.Aux;
        compacted.push_back(merged);
        kept = next;
        area = 0;
    }
    compacted.push_back(samples.back());

    history.ValueBeforeFirst = history.LeadValue();
    history.MeanCount = static_cast<std::int32_t>(compacted.size()) - 1;
    std::swap(history.Samples, compacted);
    history.Generation = NewHistoryGeneration();
    if (compacted.capacity() > 4 * CompactionThreshold(normal))
        compacted = {}; // not held on to after a much longer history
}

} // namespace

void HistoryCompact(TVertex& vertex, std::int32_t normal, double warmUpTime) {
    Compact(vertex.History, normal, warmUpTime, TAuxKind::TokensReceived);
}

void HistoryCompact(TTransition& transition, std::int32_t normal, double warmUpTime) {
    Compact(transition.History, normal, warmUpTime, TAuxKind::BusyTotal);
}
