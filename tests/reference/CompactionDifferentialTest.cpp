// History compaction against the literal one on random histories, bit for bit, and the window
// statistics of the compacted histories against the same histories never compacted: equal bit
// for bit wherever a window starts at the warm-up, at a kept sample or past the merged stretches,
// and equal to the walk over the samples; elsewhere off by no more than one merged stretch holds.
#include "Comparison.h"
#include "DifferentialCases.h"
#include "RandomNet.h"
#include "ReferenceEngine.h"
#include "StatisticsComparison.h"

#include "History.h"
#include "HistoryCompact.h"
#include "HistoryTotals.h"
#include "Statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A net of one vertex and one transition, whose histories the test grows by hand.
struct TObjects {
    TObjects() {
        Net.Vertices.push_back(std::make_unique<TVertex>());
        Net.Transitions.push_back(std::make_unique<TTransition>());
        Net.Vertices[0]->Name = "V";
        Net.Transitions[0]->Name = "T";
    }
    TVertex& Vertex() { return *Net.Vertices[0]; }
    TTransition& Transition() { return *Net.Transitions[0]; }

    TEngineNet Net;
};

// Grows the histories of every side by the same samples, the vertex's and the transition's at
// the same times: at the same time (merged), at the next representable time, after a tiny, a
// whole or a random step, from a start that may be large.
void GrowHistories(const std::vector<TObjects*>& sides, std::int32_t count, TTestRandom& random) {
    const HistoryList& first = sides.front()->Vertex().History;
    double time = first.Samples.empty()
                      ? DrawOneOf(random, {0.0, 1e9 + 0.5, 3e15, DrawReal(random, 0, 100)})
                      : first.Samples.back().Time;
    while (first.Count() < count) {
        const double next = std::nextafter(time, INFINITY);
        time = DrawOneOf(random, {time, next, time + 1, time + DrawReal(random, 0, 1e-6),
                                  time + DrawReal(random, 0, 5), time + DrawReal(random, 0, 5)});
        const double marking = DrawInteger(random, -2, 20);
        const double received = DrawInteger(random, 0, 3);
        const double buffer = DrawInteger(random, 0, 4);
        for (TObjects* side : sides) {
            HistoryAdd(side->Vertex().History, hmAccumulate, received, marking, time);
            HistoryAdd(side->Transition().History, hmBusy, 0, buffer, time);
        }
    }
}

// A moment inside [low, high].
double DrawBetween(TTestRandom& random, double low, double high) {
    return high > low ? DrawReal(random, low, high) : low;
}

// Windows whose start the compacted history knows exactly: the warm-up, before the first sample,
// at a kept sample, or where the samples hold real values again; ending at the last sample, after
// it, at a kept sample or among the real values.
std::vector<std::pair<double, double>> DrawWindows(TTestRandom& random,
                                                   const HistoryList& compacted, double warmUp) {
    const auto& samples = compacted.Samples;
    const double first = samples.front().Time;
    const double last = samples.back().Time;
    const double real = samples[compacted.MeanCount].Time; // the values are real from here on
    auto kept = [&] { return samples[DrawInteger(random, 0, compacted.Count() - 1)].Time; };
    std::vector<std::pair<double, double>> windows;
    for (int i = 0; i < 8; ++i) {
        const double start =
            DrawOneOf(random, {warmUp, warmUp, first - DrawReal(random, 0, 3), first, kept(), real,
                               DrawBetween(random, real, last)});
        const double after = std::max(start, real);
        double end = DrawOneOf(random, {last, last + DrawReal(random, 0, 5),
                                        DrawBetween(random, after, last),
                                        DrawBetween(random, after, last + 1)});
        if (DrawChance(random, 0.2)) {
            // Not at a merged sample that would be the window's only one: the tokens of that
            // sample's own instant are no longer known apart from the rest of its stretch.
            const std::int32_t at = DrawInteger(random, 0, compacted.Count() - 1);
            if (samples[at].Time >= start &&
                (at >= compacted.MeanCount || FirstSampleAtOrAfter(compacted, start) < at))
                end = samples[at].Time;
        }
        windows.emplace_back(start, end);
    }
    return windows;
}

// Windows from a moment inside a merged stretch (the warm-up moved back after the fact) to the
// last sample or later: the start is interpolated, so each figure may be off by what that one
// stretch holds, and no more.
std::string InterpolationExcess(TTestRandom& random, TObjects& compacted, TObjects& whole,
                                int& checked) {
    const HistoryList& merged = compacted.Vertex().History;
    if (merged.MeanCount == 0)
        return "";
    const auto& samples = merged.Samples;
    const std::int32_t k = DrawInteger(random, 0, merged.MeanCount - 1);
    const double stretch = samples[k + 1].Time - samples[k].Time;
    const double start = samples[k].Time + DrawReal(random, 0.01, 0.99) * stretch;
    if (!(start > samples[k].Time && start < samples[k + 1].Time))
        return ""; // a stretch too short to hold a moment inside it
    ++checked;
    const double end =
        DrawOneOf(random, {samples.back().Time, samples.back().Time + DrawReal(random, 0, 5)});
    const double length = end - start;
    double largest = 0;
    for (const HistorySample& sample : whole.Vertex().History.Samples)
        largest = std::max(largest, std::fabs(sample.Value));
    const TVertexStats a = VertexWindowStats(compacted.Vertex(), start, end);
    const TVertexStats b = VertexWindowStats(whole.Vertex(), start, end);
    // The stretch's own tokens, and those of the last instant that a window without other
    // samples would count.
    const double tokens = TokensAt(merged, k) + TokensAt(merged, samples.size() - 1);
    if (std::fabs(a.Mean - b.Mean) * length > 2 * largest * stretch * (1 + 1e-9) + 1e-9 ||
        std::fabs(a.Received - b.Received) > tokens)
        return "vertex from " + Number(start) + " in the stretch [" + Number(samples[k].Time) +
               ", " + Number(samples[k + 1].Time) + "]: mean " + Number(a.Mean) + " against " +
               Number(b.Mean) + ", received " + Number(a.Received) + " against " +
               Number(b.Received);
    const TTransitionStats c = TransitionWindowStats(compacted.Transition(), start, end, true);
    const TTransitionStats d = TransitionWindowStats(whole.Transition(), start, end, true);
    if (std::fabs(c.Mean - d.Mean) * length > 2 * 4 * stretch * (1 + 1e-9) + 1e-9 ||
        std::fabs(c.Busy - d.Busy) > stretch * (1 + 1e-9) + 1e-9)
        return "transition from " + Number(start) + " in the stretch [" + Number(samples[k].Time) +
               ", " + Number(samples[k + 1].Time) + "]: mean " + Number(c.Mean) + " against " +
               Number(d.Mean) + ", busy " + Number(c.Busy) + " against " + Number(d.Busy);
    return "";
}

// Histories just below, at and above the length that starts compaction, grown further and
// compacted again, as runs do.
void CompareCompaction(std::uint64_t seed, int& failures, int& compacted, int& windows,
                       int& interpolated) {
    TTestRandom random(seed);
    const int kind = DrawInteger(random, 0, 39);
    const std::int32_t normal = kind == 0   ? 2000
                                : kind == 1 ? DrawInteger(random, -1, 0)
                                            : DrawInteger(random, 1, 50);
    const auto threshold = static_cast<std::int32_t>(std::ceil(2.05 * std::max(normal, 1)));
    TObjects fast, literal, whole;
    double warmUp = -1;
    for (int round = 0; round < 3; ++round) {
        const std::int32_t length = DrawOneOf(
            random, {threshold - 1, threshold, threshold + DrawInteger(random, 1, 2 * threshold)});
        const std::int32_t grown = std::max(length, fast.Vertex().History.Count() + 1);
        GrowHistories({&fast, &literal, &whole}, grown, random);
        if (round == 0) {
            // A warm-up inside the first stretch, at one of its samples, or still ahead.
            const auto& samples = whole.Vertex().History.Samples;
            const double first = samples.front().Time, last = samples.back().Time;
            warmUp = DrawOneOf(
                random, {DrawBetween(random, first, last),
                         samples[DrawInteger(random, 0, whole.Vertex().History.Count() - 1)].Time,
                         last + DrawReal(random, 0, last - first + 1), first - 1});
        }
        const std::int32_t before = fast.Vertex().History.Count();
        HistoryCompact(fast.Vertex(), normal, warmUp);
        HistoryCompact(fast.Transition(), normal, warmUp);
        reference::HistoryCompact(literal.Vertex(), normal, warmUp);
        reference::HistoryCompact(literal.Transition(), normal, warmUp);
        compacted += fast.Vertex().History.Count() < before;

        const std::string where = "seed " + std::to_string(seed) + ", normal " +
                                  std::to_string(normal) + ", warm-up " + Number(warmUp) +
                                  ", round " + std::to_string(round) + ", " +
                                  std::to_string(before) + " samples: ";
        TComparison c;
        c.CheckHistory("vertex", fast.Vertex().History, literal.Vertex().History);
        c.CheckHistory("transition", fast.Transition().History, literal.Transition().History);
        if (!c.First.empty()) {
            ++failures;
            ADD_FAILURE() << where << c.First;
            return;
        }
        for (int i = 0; i < 3; ++i) {
            const std::string excess = InterpolationExcess(random, fast, whole, interpolated);
            if (!excess.empty()) {
                ++failures;
                ADD_FAILURE() << where << excess;
                return;
            }
        }
        for (const auto& [start, end] : DrawWindows(random, fast.Vertex().History, warmUp)) {
            std::string difference = StatisticsDifference(fast.Net, whole.Net, start, end);
            if (difference.empty())
                difference = WalkDifference(whole.Net, start, end);
            ++windows;
            if (!difference.empty()) {
                ++failures;
                ADD_FAILURE() << where << "window [" << Number(start) << ", " << Number(end)
                              << "]: " << difference;
                return;
            }
        }
    }
}

TEST(DifferentialCompaction, CompactedHistoriesMatchTheLiteralCompactionAndTheWholeStatistics) {
    const int cases = CaseCount(1500);
    int failures = 0, compacted = 0, windows = 0, interpolated = 0;
    for (int i = 0; i < cases && failures < kFailureLimit; ++i)
        CompareCompaction(CaseSeed(3'000'000, i), failures, compacted, windows, interpolated);
    if (cases >= kCoverageRuns) {
        EXPECT_GT(compacted, cases);
        EXPECT_GT(windows, 10 * cases);
        EXPECT_GT(interpolated, cases);
    }
}

} // namespace
