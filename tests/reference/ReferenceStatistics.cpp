// The window statistics as a walk over the samples of an uncompacted history, term by term:
// the definition the engine's figures, read from running totals, are checked against.
#include "ReferenceStatistics.h"

#include "LaunchBuffer.h"

#include <vector>

namespace reference {

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

TWindow WindowWalk(const std::vector<HistorySample>& samples, double start, double end) {
    TWindow window;
    std::size_t f = 0;
    while (f < samples.size() && samples[f].Time < start)
        ++f;
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

double BufferLength(const TTransition& transition) {
    return BufferCount(transition.LaunchBuffer);
}

// Accumulated busy time at `time` within the window's sample list.
double BusyTime(const std::vector<HistorySample>& samples, const TWindow& w, double start,
                double end) {
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

} // namespace

TVertexStats WalkVertexWindowStats(const TVertex& vertex, double windowStart, double windowEnd) {
    TVertexStats stats;
    const auto& samples = vertex.History.Samples;
    if (windowEnd <= windowStart) {
        stats.Success = true;
        stats.MinMarking = stats.MaxMarking = vertex.Marking;
        stats.Mean = vertex.Marking;
        return stats;
    }
    if (samples.empty())
        return stats;
    stats.Success = true;
    stats.MinMarking = vertex.MinMarking;
    stats.MaxMarking = vertex.MaxMarking;
    if (samples.size() == 1) {
        stats.Mean = vertex.Marking;
        stats.Received = TokensAt(vertex.History, 0);
        return stats;
    }
    const TWindow window = WindowWalk(samples, windowStart, windowEnd);
    if (window.HasSamples)
        for (std::size_t k = window.First; k <= window.Last; ++k)
            stats.Received += TokensAt(vertex.History, k);
    stats.Mean = window.AnyAtOrAfterStart ? window.Mean : vertex.Marking;
    if (stats.Received > 0)
        stats.MeanWait = stats.Mean * (windowEnd - windowStart) / stats.Received;
    return stats;
}

TTransitionStats WalkTransitionWindowStats(const TTransition& transition, double windowStart,
                                           double windowEnd, bool busyWanted) {
    TTransitionStats stats;
    const auto& samples = transition.History.Samples;
    const double length = BufferLength(transition);
    auto current = [&] {
        stats.Success = true;
        stats.MinBuffer = stats.MaxBuffer = BufferCount(transition.LaunchBuffer);
        stats.Mean = length;
        return stats;
    };
    if (windowEnd <= windowStart)
        return current();
    if (samples.empty())
        return stats;
    if (samples.size() == 1) {
        if (samples[0].Time < windowStart || samples[0].Time > windowEnd)
            return stats;
        return current();
    }
    stats.Success = true;
    stats.MinBuffer = transition.MinBuffer;
    stats.MaxBuffer = transition.MaxBuffer;
    const TWindow window = WindowWalk(samples, windowStart, windowEnd);
    if (!window.AnyAtOrAfterStart) {
        stats.Mean = length;
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

} // namespace reference
