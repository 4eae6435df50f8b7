#include "Statistics.h"

#include "LaunchBuffer.h"

#include <vector>

namespace {

// The window's samples are First..Last (indices into the history), the first sample at or after
// the window's start provided it is not after the end, followed by every further sample before
// the end. ValueAtStart is the value in force at the start.
struct TWindow {
    bool AnyAtOrAfterStart = false; // some sample lies at or after the start
    bool HasSamples = false;        // the window holds samples
    std::size_t First = 0;
    std::size_t Last = 0;
    double ValueAtStart = 0;
    double Mean = 0;
};

// `from` is a position before which every sample lies before the start.
TWindow WindowWalk(const std::vector<HistorySample>& samples, double start, double end,
                   std::size_t from = 0) {
    TWindow window;
    std::size_t f = from;
    while (f < samples.size() && samples[f].Time < start)
        ++f;
    window.First = f;
    if (f == samples.size())
        return window;
    window.AnyAtOrAfterStart = true;
    window.First = f;
    window.ValueAtStart = f > 0 ? samples[f - 1].Value : samples[f].Value;
    if (samples[f].Time > end) {
        window.Mean = window.ValueAtStart;
        return window;
    }
    window.HasSamples = true;
    std::size_t s = f;
    while (s + 1 < samples.size() && samples[s + 1].Time < end)
        ++s;
    window.Last = s;

    double sum = (samples[f].Time - start) * window.ValueAtStart;
    for (std::size_t k = f + 1; k <= s; ++k)
        sum += (samples[k].Time - samples[k - 1].Time) * samples[k - 1].Value;
    if (end - samples[s].Time > 0)
        sum += (end - samples[s].Time) * samples[s].Value;
    window.Mean = sum / (end - start);
    return window;
}

double BufferLength(const TTransition& transition) { return BufferCount(transition.LaunchBuffer); }

// Accumulated busy time at `time` within the window's sample list.
double BusyTime(const std::vector<HistorySample>& samples, const TWindow& w, double start, double end) {
    if (!w.HasSamples) {
        // The whole window lies in the stretch before the first sample after it.
        return w.ValueAtStart > 0 ? end - start : 0;
    }
    const HistorySample& f = samples[w.First];
    const HistorySample& s = samples[w.Last];
    const double tail = end - s.Time > 0 ? end - s.Time : 0;
    double busy = s.Aux + (s.Value > 0 ? tail : 0);
    if (w.First > 0)
        busy -= f.Aux - (samples[w.First - 1].Value > 0 ? f.Time - start : 0);
    return busy;
}

bool ShouldCompact(const HistoryList& history, std::int32_t normal) {
    return normal >= 1 && !(2.05 * normal > history.Count()) && history.Count() > 1;
}

} // namespace

namespace {

// The window statistics of a history of two samples or more; `from` as for WindowWalk, and
// moved to the window's first sample.
TVertexStats VertexWalkStats(const TVertex& vertex, double windowStart, double windowEnd,
                             std::size_t& from) {
    const auto& samples = vertex.History.Samples;
    TVertexStats stats;
    stats.Success = true;
    stats.MinMarking = vertex.MinMarking;
    stats.MaxMarking = vertex.MaxMarking;
    const TWindow window = WindowWalk(samples, windowStart, windowEnd, from);
    from = window.First;
    if (window.HasSamples)
        for (std::size_t k = window.First; k <= window.Last; ++k)
            stats.Received += samples[k].Aux;
    stats.Mean = window.AnyAtOrAfterStart ? window.Mean : vertex.Marking;
    if (stats.Received > 0)
        stats.MeanWait = stats.Mean * (windowEnd - windowStart) / stats.Received;
    return stats;
}

TVertexStats CurrentVertexStats(const TVertex& vertex) {
    TVertexStats stats;
    stats.Success = true;
    stats.MinMarking = stats.MaxMarking = vertex.Marking;
    stats.Mean = vertex.Marking;
    return stats;
}

} // namespace

TVertexStats VertexWindowStats(const TVertex& vertex, double windowStart, double windowEnd) {
    TVertexStats stats;
    const auto& samples = vertex.History.Samples;
    if (windowEnd <= windowStart)
        return CurrentVertexStats(vertex);
    if (samples.empty())
        return stats;
    if (samples.size() == 1) {
        stats.Success = true;
        stats.MinMarking = vertex.MinMarking;
        stats.MaxMarking = vertex.MaxMarking;
        stats.Mean = vertex.Marking;
        stats.Received = samples[0].Aux;
        return stats;
    }
    std::size_t from = 0;
    return VertexWalkStats(vertex, windowStart, windowEnd, from);
}

namespace {

TTransitionStats CurrentTransitionStats(const TTransition& transition) {
    TTransitionStats stats;
    stats.Success = true;
    stats.MinBuffer = stats.MaxBuffer = BufferCount(transition.LaunchBuffer);
    stats.Mean = BufferLength(transition);
    return stats;
}

TTransitionStats TransitionWalkStats(const TTransition& transition, double windowStart,
                                     double windowEnd, bool busyWanted, std::size_t& from) {
    const auto& samples = transition.History.Samples;
    TTransitionStats stats;
    stats.Success = true;
    stats.MinBuffer = transition.MinBuffer;
    stats.MaxBuffer = transition.MaxBuffer;
    const TWindow window = WindowWalk(samples, windowStart, windowEnd, from);
    from = window.First;
    if (!window.AnyAtOrAfterStart) {
        stats.Mean = BufferLength(transition);
        return stats;
    }
    stats.Mean = window.Mean;
    if (busyWanted)
        stats.Busy = BusyTime(samples, window, windowStart, windowEnd);
    else
        stats.Busy = window.HasSamples ? samples[window.Last].Aux : samples[window.First].Aux;
    stats.BusyPercent = stats.Busy / (windowEnd - windowStart) * 100;
    return stats;
}

} // namespace

TTransitionStats TransitionWindowStats(const TTransition& transition, double windowStart,
                                       double windowEnd, bool busyWanted) {
    const auto& samples = transition.History.Samples;
    if (windowEnd <= windowStart)
        return CurrentTransitionStats(transition);
    if (samples.empty())
        return {};
    if (samples.size() == 1) {
        if (samples[0].Time < windowStart || samples[0].Time > windowEnd)
            return {};
        return CurrentTransitionStats(transition);
    }
    std::size_t from = 0;
    return TransitionWalkStats(transition, windowStart, windowEnd, busyWanted, from);
}

namespace {

// Replaces the object's history by `normal` interval averages; `add` puts the sample of interval
// i, [first + i step, first + (i + 1) step], into the new list. The intervals follow each other,
// so each one's walk starts where the previous one's began: one pass over the history in all.
template <typename Object, typename AddSample>
void Compact(Object& object, std::int32_t normal, AddSample add) {
    if (!ShouldCompact(object.History, normal))
        return;
    const auto& samples = object.History.Samples;
    const double first = samples.front().Time;
    const double step = (samples.back().Time - first) / normal;
    HistoryList compacted;
    compacted.Samples.reserve(static_cast<std::size_t>(normal));
    std::size_t from = 0;
    for (std::int32_t i = 0; i < normal; ++i)
        add(compacted, i, first, step, first + i * step, first + (i + 1) * step, from);
    object.History = std::move(compacted);
}

} // namespace

void HistoryCompact(TVertex& vertex, std::int32_t normal) {
    Compact(vertex, normal,
            [&](HistoryList& list, std::int32_t, double, double, double start, double end, std::size_t& from) {
                const TVertexStats stats = end <= start ? CurrentVertexStats(vertex)
                                                        : VertexWalkStats(vertex, start, end, from);
                HistoryAdd(list, hmAccumulate, stats.Received, stats.Mean, start);
            });
}

void HistoryCompact(TTransition& transition, std::int32_t normal) {
    Compact(transition, normal,
            [&](HistoryList& list, std::int32_t i, double first, double step, double start, double end,
                std::size_t& from) {
                const TTransitionStats stats =
                    end <= start ? CurrentTransitionStats(transition)
                                 : TransitionWalkStats(transition, start, end, false, from);
                if (stats.Busy >= 0)
                    HistoryAdd(list, hmReplace, stats.Busy, stats.Mean, first + (i + 0.5) * step);
                else
                    HistoryAdd(list, hmReplace, 0, stats.Mean, start);
            });
}
