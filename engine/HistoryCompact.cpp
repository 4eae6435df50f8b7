// Compaction of a history into `normal` interval averages. Each interval's value is the
// time-weighted mean the window statistics give for it, computed here in one pass over the
// history: the intervals follow each other, so each one's walk begins where the previous one's
// first sample was. The arithmetic is the window statistics' own, term by term, so the results
// are the same to the last bit.
#include "Statistics.h"

#include "LaunchBuffer.h"

#include <cmath>

namespace {

// The samples of one interval [start, end] of the history, end > start.
struct TInterval {
    bool AnyAtOrAfterStart = false; // some sample lies at or after the start
    bool HasSamples = false;        // a sample lies in the interval
    double Mean = 0;                // with AnyAtOrAfterStart
    double Received = 0;            // sum of Aux of the interval's samples
    double LastAux = 0;             // Aux of the interval's last sample, or of the first after it
};

// `from` is a position before which every sample lies before `start`; it is moved to the
// interval's first sample.
TInterval Walk(const std::vector<HistorySample>& samples, double start, double end, std::size_t& from) {
    TInterval interval;
    const std::size_t count = samples.size();
    std::size_t f = from;
    while (f < count && samples[f].Time < start)
        ++f;
    from = f;
    if (f == count)
        return interval;
    interval.AnyAtOrAfterStart = true;
    const double atStart = f > 0 ? samples[f - 1].Value : samples[f].Value;
    if (samples[f].Time > end) {
        interval.Mean = atStart;
        interval.LastAux = samples[f].Aux;
        return interval;
    }
    interval.HasSamples = true;
    double sum = (samples[f].Time - start) * atStart;
    double received = 0;
    received += samples[f].Aux;
    std::size_t s = f;
    while (s + 1 < count && samples[s + 1].Time < end) {
        ++s;
        sum += (samples[s].Time - samples[s - 1].Time) * samples[s - 1].Value;
        received += samples[s].Aux;
    }
    if (end - samples[s].Time > 0)
        sum += (end - samples[s].Time) * samples[s].Value;
    interval.Mean = sum / (end - start);
    interval.Received = received;
    interval.LastAux = samples[s].Aux;
    return interval;
}

// Compaction starts when the history holds this many samples.
std::size_t CompactionThreshold(std::int32_t normal) {
    return static_cast<std::size_t>(std::ceil(2.05 * normal));
}

bool ShouldCompact(const HistoryList& history, std::int32_t normal) {
    return normal >= 1 && !(2.05 * normal > history.Count()) && history.Count() > 1;
}

// Builds the compacted samples with `add`(list, i, first, step, start, end, from) and swaps them
// in. The new list is built in a spare array that keeps its capacity between compactions, and
// has room for every sample up to the next compaction, so recording allocates nothing.
template <typename AddSample>
void Compact(HistoryList& history, std::int32_t normal, AddSample add) {
    if (!ShouldCompact(history, normal))
        return;
    static thread_local HistoryList spare;
    spare.Samples.clear();
    spare.Samples.reserve(CompactionThreshold(normal));
    const auto& samples = history.Samples;
    const double first = samples.front().Time;
    const double step = (samples.back().Time - first) / normal;
    std::size_t from = 0;
    double start = first + 0 * step;
    for (std::int32_t i = 0; i < normal; ++i) {
        const double end = first + (i + 1) * step; // also the next interval's start
        add(spare, i, first, step, start, end, from);
        start = end;
    }
    std::swap(history.Samples, spare.Samples);
    if (spare.Samples.capacity() > 4 * CompactionThreshold(normal))
        spare.Samples = {}; // not held on to after a much longer history
}

} // namespace

void HistoryCompact(TVertex& vertex, std::int32_t normal) {
    const auto& samples = vertex.History.Samples;
    Compact(vertex.History, normal,
            [&](HistoryList& list, std::int32_t, double, double, double start, double end, std::size_t& from) {
                double mean = vertex.Marking;
                double received = 0;
                if (end > start) {
                    const TInterval interval = Walk(samples, start, end, from);
                    if (interval.AnyAtOrAfterStart)
                        mean = interval.Mean;
                    received = interval.Received;
                }
                HistoryAdd(list, hmAccumulate, received, mean, start);
            });
}

void HistoryCompact(TTransition& transition, std::int32_t normal) {
    const auto& samples = transition.History.Samples;
    const double length = BufferCount(transition.LaunchBuffer);
    Compact(transition.History, normal,
            [&](HistoryList& list, std::int32_t i, double first, double step, double start, double end,
                std::size_t& from) {
                // The busy time of the interval is that of its last sample; none without samples
                // at or after its start.
                double mean = length;
                double busy = -1;
                if (end > start) {
                    const TInterval interval = Walk(samples, start, end, from);
                    if (interval.AnyAtOrAfterStart) {
                        mean = interval.Mean;
                        busy = interval.LastAux;
                    }
                }
                if (busy >= 0)
                    HistoryAdd(list, hmReplace, busy, mean, first + (i + 0.5) * step);
                else
                    HistoryAdd(list, hmReplace, 0, mean, start);
            });
}
