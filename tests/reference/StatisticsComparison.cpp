#include "StatisticsComparison.h"

#include "Comparison.h"
#include "ReferenceStatistics.h"
#include "Statistics.h"

#include <cmath>

namespace {

std::string VertexStatsText(const TVertexStats& s) {
    return std::string(s.Success ? "" : "no result, ") + "min " + std::to_string(s.MinMarking) +
           ", max " + std::to_string(s.MaxMarking) + ", mean " + Number(s.Mean) + ", wait " +
           Number(s.MeanWait) + ", received " + Number(s.Received);
}

std::string TransitionStatsText(const TTransitionStats& s) {
    return std::string(s.Success ? "" : "no result, ") + "min " + std::to_string(s.MinBuffer) +
           ", max " + std::to_string(s.MaxBuffer) + ", mean " + Number(s.Mean) + ", busy " +
           Number(s.Busy) + ", " + Number(s.BusyPercent) + " %";
}

bool SameStats(const TVertexStats& a, const TVertexStats& b) {
    return a.Success == b.Success && a.MinMarking == b.MinMarking && a.MaxMarking == b.MaxMarking &&
           Same(a.Mean, b.Mean) && Same(a.MeanWait, b.MeanWait) && Same(a.Received, b.Received);
}

bool SameStats(const TTransitionStats& a, const TTransitionStats& b) {
    return a.Success == b.Success && a.MinBuffer == b.MinBuffer && a.MaxBuffer == b.MaxBuffer &&
           Same(a.Mean, b.Mean) && Same(a.Busy, b.Busy) && Same(a.BusyPercent, b.BusyPercent);
}

// The largest time integral of the absolute value a total over [start, end] can hold: what the
// rounding of a difference of totals is proportional to.
double AreaScale(const HistoryList& history, double start, double end) {
    const auto& samples = history.Samples;
    if (samples.empty())
        return 0;
    double scale = std::fabs(history.LeadValue()) * std::fabs(samples.front().Time - start);
    for (std::size_t k = 0; k + 1 < samples.size(); ++k)
        scale += std::fabs(samples[k].Value) * (samples[k + 1].Time - samples[k].Time);
    scale += std::fabs(samples.back().Value) * std::fabs(end - samples.back().Time);
    return scale + std::fabs(end - samples.front().Time);
}

bool Close(double engine, double walk, double allowance) {
    return std::fabs(engine - walk) <= 1e-9 * std::fabs(walk) + allowance;
}

// A mean waiting or busy time: -1 when absent on both sides, otherwise close.
bool CloseOrBothAbsent(double engine, double walk, double allowance) {
    if (engine == -1 || walk == -1)
        return engine == walk;
    return Close(engine, walk, allowance);
}

} // namespace

std::string StatisticsDifference(const TEngineNet& compacted, const TEngineNet& whole, double start,
                                 double end) {
    for (std::size_t i = 0; i < compacted.Vertices.size(); ++i) {
        const TVertexStats a = VertexWindowStats(*compacted.Vertices[i], start, end);
        const TVertexStats b = VertexWindowStats(*whole.Vertices[i], start, end);
        if (!SameStats(a, b))
            return "vertex " + compacted.Vertices[i]->Name + ": " + VertexStatsText(a) +
                   " compacted against " + VertexStatsText(b) + " whole";
    }
    for (std::size_t i = 0; i < compacted.Transitions.size(); ++i) {
        const TTransitionStats a =
            TransitionWindowStats(*compacted.Transitions[i], start, end, true);
        const TTransitionStats b = TransitionWindowStats(*whole.Transitions[i], start, end, true);
        if (!SameStats(a, b))
            return "transition " + compacted.Transitions[i]->Name + ": " + TransitionStatsText(a) +
                   " compacted against " + TransitionStatsText(b) + " whole";
    }
    return "";
}

std::string WalkDifference(const TEngineNet& whole, double start, double end) {
    const double length = end - start;
    for (const auto& vertex : whole.Vertices) {
        const TVertexStats a = VertexWindowStats(*vertex, start, end);
        const TVertexStats b = reference::WalkVertexWindowStats(*vertex, start, end);
        const double rounding =
            length > 0 ? 1e-12 * AreaScale(vertex->History, start, end) / length : 0;
        const bool agree = a.Success == b.Success && a.MinMarking == b.MinMarking &&
                           a.MaxMarking == b.MaxMarking && a.Received == b.Received &&
                           Close(a.Mean, b.Mean, rounding) &&
                           CloseOrBothAbsent(a.MeanWait, b.MeanWait,
                                             b.Received > 0 ? rounding * length / b.Received : 0);
        if (!agree)
            return "vertex " + vertex->Name + ": " + VertexStatsText(a) + " from totals against " +
                   VertexStatsText(b) + " by the walk";
    }
    for (const auto& transition : whole.Transitions) {
        const TTransitionStats a = TransitionWindowStats(*transition, start, end, true);
        const TTransitionStats b =
            reference::WalkTransitionWindowStats(*transition, start, end, true);
        const double scale = AreaScale(transition->History, start, end);
        const double rounding = length > 0 ? 1e-12 * scale / length : 0;
        const bool agree = a.Success == b.Success && a.MinBuffer == b.MinBuffer &&
                           a.MaxBuffer == b.MaxBuffer && Close(a.Mean, b.Mean, rounding) &&
                           CloseOrBothAbsent(a.Busy, b.Busy, 1e-12 * scale) &&
                           CloseOrBothAbsent(a.BusyPercent, b.BusyPercent,
                                             length > 0 ? 1e-10 * scale / length : 0);
        if (!agree)
            return "transition " + transition->Name + ": " + TransitionStatsText(a) +
                   " from totals against " + TransitionStatsText(b) + " by the walk";
    }
    return "";
}
