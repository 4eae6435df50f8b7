// The window statistics read the running totals that every sample carries: the mean is the
// difference of the time integrals at the window's ends over its length, the tokens received and
// the busy time are differences of their totals. Compaction keeps those totals exact, so the
// figures do not depend on whether or how often a history was compacted. The rules for where a
// window begins and ends (which instant's tokens count, what stands before the first sample,
// what a window without samples reports) are those of a walk over the uncompacted samples.
#include "Statistics.h"

#include "HistoryTotals.h"
#include "LaunchBuffer.h"

#include <algorithm>

TVertexStats VertexWindowStats(const TVertex& vertex, double windowStart, double windowEnd) {
    TVertexStats stats;
    const HistoryList& history = vertex.History;
    const auto& samples = history.Samples;
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
        stats.Received = samples[0].Aux;
        return stats;
    }
    if (samples.back().Time < windowStart) {
        // Nothing was recorded since the window began: the marking has held since.
        stats.Mean = vertex.Marking;
        return stats;
    }
    const double length = windowEnd - windowStart;
    const THistoryTotals start = TotalsAt(history, windowStart);
    const THistoryTotals end = TotalsAt(history, windowEnd);
    stats.Mean = (end.Area - start.Area) / length;
    stats.Received = end.ReceivedBefore - start.ReceivedBefore;
    // Tokens that arrive exactly at the window's end count when nothing else changed inside it
    // (known one by one only where the samples were not merged).
    if (start.NextSampleTime == windowEnd) {
        const std::ptrdiff_t atEnd = FirstSampleAtOrAfter(history, windowEnd);
        if (atEnd < history.Count() && samples[atEnd].Time == windowEnd &&
            atEnd >= history.MeanCount)
            stats.Received += TokensAt(history, atEnd);
    }
    if (stats.Received > 0)
        stats.MeanWait = stats.Mean * length / stats.Received;
    return stats;
}

TTransitionStats TransitionWindowStats(const TTransition& transition, double windowStart,
                                       double windowEnd, bool busyWanted) {
    TTransitionStats stats;
    const HistoryList& history = transition.History;
    const auto& samples = history.Samples;
    const double bufferLength = BufferCount(transition.LaunchBuffer);
    auto current = [&] {
        stats.Success = true;
        stats.MinBuffer = stats.MaxBuffer = BufferCount(transition.LaunchBuffer);
        stats.Mean = bufferLength;
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
    if (samples.back().Time < windowStart) {
        stats.Mean = bufferLength;
        return stats;
    }
    const double length = windowEnd - windowStart;
    const THistoryTotals start = TotalsAt(history, windowStart);
    const THistoryTotals end = TotalsAt(history, windowEnd);
    stats.Mean = (end.Area - start.Area) / length;
    if (busyWanted) {
        if (windowEnd < samples.front().Time)
            // The whole window lies before monitoring began, under the first value.
            stats.Busy = history.LeadValue() > 0 ? length : 0;
        else
            // Rounding of the totals may stray past the bounds a busy time cannot leave.
            stats.Busy = std::clamp(end.Busy - start.Busy, 0.0, length);
    } else {
        // The busy total of the window's last sample, or of the first one after the window.
        const std::ptrdiff_t first = FirstSampleAtOrAfter(history, windowStart);
        const std::ptrdiff_t last = std::max(first, FirstSampleAtOrAfter(history, windowEnd) - 1);
        stats.Busy = samples[samples[first].Time > windowEnd ? first : last].Aux;
    }
    stats.BusyPercent = stats.Busy / length * 100;
    return stats;
}
