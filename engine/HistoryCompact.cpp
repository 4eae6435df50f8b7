// Compaction of a history into `normal` interval averages. Each interval's value is the
// time-weighted mean the window statistics give for it, computed here in one pass over the
// history: the intervals follow each other, so each one's walk begins where the previous one
// ended. The arithmetic is the window statistics' own, term by term, so the results are the
// same to the last bit.
#include "Statistics.h"

#include "LaunchBuffer.h"

#include <cmath>

namespace {

// What the window statistics find in one interval [start, end].
enum TIntervalKind {
    ikNone,       // end not after start, or no sample at or after start
    ikNoSamples,  // samples lie only after the interval: the value in force is the mean
    ikSamples,    // samples lie in the interval
};

// Walks the intervals i = 0 .. normal - 1, [first + i step, first + (i + 1) step], calling
// emit(i, start, kind, mean, aux). With SumAux, aux is the sum of Aux over the interval's
// samples; otherwise it is the Aux of the interval's last sample, or of the first one after it.
template <bool SumAux, typename Emit>
void WalkIntervals(const std::vector<HistorySample>& history, double first, double step,
                   std::int32_t normal, Emit&& emit) {
    const HistorySample* samples = history.data();
    const std::size_t count = history.size();
    std::size_t f = 0; // every sample before it lies before the current interval's start
    double start = first + 0 * step;
    for (std::int32_t i = 0; i < normal; ++i) {
        const double end = first + (i + 1) * step; // also the next interval's start
        if (end > start) {
            while (f < count && samples[f].Time < start)
                ++f;
        }
        if (!(end > start) || f == count) {
            emit(i, start, ikNone, 0.0, 0.0);
        } else {
            const double atStart = f > 0 ? samples[f - 1].Value : samples[f].Value;
            if (samples[f].Time > end) {
                emit(i, start, ikNoSamples, atStart, SumAux ? 0.0 : samples[f].Aux);
            } else {
                double sum = (samples[f].Time - start) * atStart;
                double aux = 0;
                aux += samples[f].Aux;
                std::size_t s = f;
                while (s + 1 < count && samples[s + 1].Time < end) {
                    ++s;
                    sum += (samples[s].Time - samples[s - 1].Time) * samples[s - 1].Value;
                    if constexpr (SumAux)
                        aux += samples[s].Aux;
                }
                if (end - samples[s].Time > 0)
                    sum += (end - samples[s].Time) * samples[s].Value;
                emit(i, start, ikSamples, sum / (end - start), SumAux ? aux : samples[s].Aux);
                f = s; // the samples before it lie before the next start
            }
        }
        start = end;
    }
}

// Compaction starts when the history holds this many samples.
std::size_t CompactionThreshold(std::int32_t normal) {
    return static_cast<std::size_t>(std::ceil(2.05 * normal));
}

bool ShouldCompact(const HistoryList& history, std::int32_t normal) {
    return normal >= 1 && !(2.05 * normal > history.Count()) && history.Count() > 1;
}

// The compacted list is built in a spare array that keeps its capacity between compactions and
// has room for every sample up to the next compaction, so recording allocates nothing.
HistoryList& SpareList(std::int32_t normal) {
    static thread_local HistoryList spare;
    spare.Samples.clear();
    spare.Samples.reserve(CompactionThreshold(normal));
    return spare;
}

void SwapIn(HistoryList& history, HistoryList& spare, std::int32_t normal) {
    std::swap(history.Samples, spare.Samples);
    if (spare.Samples.capacity() > 4 * CompactionThreshold(normal))
        spare.Samples = {}; // not held on to after a much longer history
}

} // namespace

void HistoryCompact(TVertex& vertex, std::int32_t normal) {
    if (!ShouldCompact(vertex.History, normal))
        return;
    const auto& samples = vertex.History.Samples;
    const double first = samples.front().Time;
    const double step = (samples.back().Time - first) / normal;
    HistoryList& spare = SpareList(normal);
    WalkIntervals<true>(samples, first, step, normal,
                        [&](std::int32_t, double start, TIntervalKind kind, double mean, double received) {
                            if (kind == ikNone)
                                mean = vertex.Marking;
                            HistoryAdd(spare, hmAccumulate, received, mean, start);
                        });
    SwapIn(vertex.History, spare, normal);
}

void HistoryCompact(TTransition& transition, std::int32_t normal) {
    if (!ShouldCompact(transition.History, normal))
        return;
    const auto& samples = transition.History.Samples;
    const double first = samples.front().Time;
    const double step = (samples.back().Time - first) / normal;
    const double length = BufferCount(transition.LaunchBuffer);
    HistoryList& spare = SpareList(normal);
    // An interval's sample sits at its middle with the busy time of its last sample; without
    // samples at or after its start it keeps its start, the current length and no busy time.
    WalkIntervals<false>(samples, first, step, normal,
                         [&](std::int32_t i, double start, TIntervalKind kind, double mean, double busy) {
                             if (kind != ikNone && busy >= 0)
                                 HistoryAdd(spare, hmReplace, busy, mean, first + (i + 0.5) * step);
                             else
                                 HistoryAdd(spare, hmReplace, 0, kind == ikNone ? length : mean, start);
                         });
    SwapIn(transition.History, spare, normal);
}
