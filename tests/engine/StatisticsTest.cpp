#include "Statistics.h"
#include "HistoryCompact.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NetObjects.h"

#include <gtest/gtest.h>

namespace {

const THistorySettings kNoCompaction{false, 2000, false, 2000};

class VertexStatsTest : public ::testing::Test {
protected:
    // Marking 2 from 0, one token received at 4 and lost at 6.
    void SetUp() override {
        V.Marking = 2;
        StartMonitoring(V, 0);
        Change(+1, 4, 1);
        Change(-1, 6, 0);
    }
    void Change(int delta, double time, int received) {
        V.Marking += delta;
        RecordVertexSample(V, time, received, kNoCompaction);
    }

    TVertex V;
};

TEST_F(VertexStatsTest, WholeWindowGivesMeanReceivedAndWaiting) {
    const TVertexStats s = VertexWindowStats(V, 0, 10);
    ASSERT_TRUE(s.Success);
    EXPECT_DOUBLE_EQ(s.Mean, 2.2);
    EXPECT_EQ(s.Received, 1);
    EXPECT_DOUBLE_EQ(s.MeanWait, 22);
    EXPECT_EQ(s.MinMarking, 2);
    EXPECT_EQ(s.MaxMarking, 3);
    EXPECT_EQ(V.ChangeCount, 2);
    EXPECT_EQ(V.ReceivedTotal, 1);
}

TEST_F(VertexStatsTest, WarmUpLeavesOutEarlierSamples) {
    const TVertexStats s = VertexWindowStats(V, 5, 10);
    ASSERT_TRUE(s.Success);
    EXPECT_DOUBLE_EQ(s.Mean, 2.2);
    EXPECT_EQ(s.Received, 0);
    EXPECT_EQ(s.MeanWait, -1);
}

TEST_F(VertexStatsTest, EmptyOrReversedWindowReportsCurrentValues) {
    V.Marking = 7;
    const TVertexStats s = VertexWindowStats(V, 10, 10);
    ASSERT_TRUE(s.Success);
    EXPECT_EQ(s.Mean, 7);
    EXPECT_EQ(s.MinMarking, 7);
    EXPECT_EQ(s.MeanWait, -1);
    // No sample at or after the start: the current marking is the mean.
    EXPECT_EQ(VertexWindowStats(V, 20, 30).Mean, 7);
}

TEST_F(VertexStatsTest, SamplesAtOneInstantMergeAndAccumulate) {
    Change(+1, 8, 1);
    Change(+2, 8, 2);
    ASSERT_EQ(V.History.Count(), 4);
    EXPECT_EQ(TokensAt(V.History, 3), 3);
    EXPECT_EQ(V.History.Samples.back().Aux, 4); // with the token received at 4
    EXPECT_EQ(V.History.Samples.back().Value, 5);
    EXPECT_EQ(V.ChangeCount, 4);
}

TEST(VertexStats, AUserMarkingAtACompletionsInstantReplacesItsTokens) {
    TVertex v;
    StartMonitoring(v, 0);
    v.Marking = 3;
    RecordVertexSample(v, 1, 3, kNoCompaction);
    v.Marking = 5;
    RecordVertexSample(v, 2, 2, kNoCompaction);
    v.Marking = 7;
    RecordUserMarking(v, 2); // typed at the same instant: the 2 tokens no longer count
    v.Marking = 12;
    RecordVertexSample(v, 3, 5, kNoCompaction);
    EXPECT_EQ(VertexWindowStats(v, 0, 10).Received, 8);
    EXPECT_EQ(VertexWindowStats(v, 2.5, 10).Received, 5);
    EXPECT_EQ(VertexWindowStats(v, 1.5, 2).Received, 0); // only the typed marking, at the end
    EXPECT_EQ(VertexWindowStats(v, 0.5, 1).Received, 3); // the window's only sample, at its end
    EXPECT_EQ(VertexWindowStats(v, 1.5, 10).Mean, (3 * 0.5 + 7 + 12 * 7) / 8.5);
}

TEST(VertexStats, OneSampleGivesCurrentMarkingAndMonitoredExtremes) {
    TVertex v;
    v.Marking = 3;
    EXPECT_FALSE(VertexWindowStats(v, 0, 10).Success); // not monitored, no history
    StartMonitoring(v, 0);
    v.Marking = 9;
    const TVertexStats s = VertexWindowStats(v, 0, 10);
    ASSERT_TRUE(s.Success);
    EXPECT_EQ(s.Mean, 9);
    EXPECT_EQ(s.MinMarking, 3);
    EXPECT_EQ(s.MaxMarking, 3);
}

TEST(VertexStats, SampleAtTheWindowEndCountsOnlyAsItsFirstSample) {
    TVertex v;
    v.Marking = 1;
    StartMonitoring(v, 0);
    v.Marking = 3;
    RecordVertexSample(v, 5, 2, kNoCompaction);
    v.Marking = 7;
    RecordVertexSample(v, 10, 4, kNoCompaction);
    const TVertexStats whole = VertexWindowStats(v, 0, 10);
    EXPECT_DOUBLE_EQ(whole.Mean, 2); // (5 x 1 + 5 x 3) / 10
    EXPECT_EQ(whole.Received, 2);    // the 4 tokens at 10 lie outside
    EXPECT_DOUBLE_EQ(VertexWindowStats(v, 5, 10).Mean, 3);
    const TVertexStats later = VertexWindowStats(v, 10, 20);
    EXPECT_DOUBLE_EQ(later.Mean, 7);
    EXPECT_EQ(later.Received, 4);
}

class TransitionStatsTest : public ::testing::Test {
protected:
    // Launched at 0 and at 3 with delay 5: completions at 5 and 8.
    void SetUp() override {
        StartMonitoring(T, 0);
        Launch(0, 5);
        Launch(3, 8);
        Complete(5);
        Complete(8);
    }
    void Launch(double time, double completion) {
        BufferAppend(T.LaunchBuffer, completion);
        RecordTransitionSample(T, time, kNoCompaction);
    }
    void Complete(double time) {
        BufferRemove(T.LaunchBuffer, BufferEarliest(T.LaunchBuffer).Position);
        RecordTransitionSample(T, time, kNoCompaction);
    }

    TTransition T;
};

TEST_F(TransitionStatsTest, MeanBufferAndBusyTime) {
    const TTransitionStats s = TransitionWindowStats(T, 0, 10, true);
    ASSERT_TRUE(s.Success);
    EXPECT_DOUBLE_EQ(s.Mean, 1.0);
    EXPECT_DOUBLE_EQ(s.Busy, 8);
    EXPECT_DOUBLE_EQ(s.BusyPercent, 80);
    EXPECT_EQ(s.MinBuffer, 0);
    EXPECT_EQ(s.MaxBuffer, 2);
    EXPECT_EQ(T.LaunchCount, 4);
    // The launch at the instant monitoring began merged into the first sample.
    EXPECT_EQ(T.History.Count(), 4);
    EXPECT_EQ(T.History.Samples[0].Aux, 0);
    EXPECT_EQ(T.History.Samples[0].Value, 1);
}

TEST_F(TransitionStatsTest, BusyTimeOfALaterWindowSubtractsTheBusyTimeBeforeIt) {
    const TTransitionStats s = TransitionWindowStats(T, 4, 10, true);
    EXPECT_DOUBLE_EQ(s.Busy, 4);       // busy over [4, 8]
    EXPECT_DOUBLE_EQ(s.Mean, 5.0 / 6); // 2 x 1 + 1 x 3 + 0 x 2 over 6
    const TTransitionStats n = TransitionWindowStats(T, 4, 10, false);
    EXPECT_DOUBLE_EQ(n.Busy, 8); // the last sample's accumulated busy time
}

TEST(TransitionStats, SingleSampleInsideOrOutsideTheWindow) {
    TTransition t;
    BufferAppend(t.LaunchBuffer, 1);
    StartMonitoring(t, 5);
    BufferAppend(t.LaunchBuffer, 2);
    const TTransitionStats inside = TransitionWindowStats(t, 0, 10, true);
    ASSERT_TRUE(inside.Success);
    EXPECT_EQ(inside.Mean, 2);
    EXPECT_EQ(inside.MinBuffer, 2);
    EXPECT_EQ(inside.Busy, -1);
    EXPECT_FALSE(TransitionWindowStats(t, 6, 10, true).Success);
    EXPECT_EQ(TransitionWindowStats(t, 10, 10, true).Busy, -1);
}

// Records `count` vertex samples one time unit apart with markings 0, 1, 2, 0, 1, 2, ...
void FillVertex(TVertex& v, int count, const THistorySettings& settings) {
    v.Marking = 0;
    StartMonitoring(v, 0);
    for (int i = 1; i < count; ++i) {
        v.Marking = i % 3;
        RecordVertexSample(v, i, i % 2, settings);
    }
}

TEST(HistoryCompact, StartsAtTwoPointZeroFiveTimesTheNormalLength) {
    TVertex v;
    const THistorySettings settings{true, 10, true, 10};
    FillVertex(v, 20, settings);
    EXPECT_EQ(v.History.Count(), 20);
    v.Marking = 5;
    RecordVertexSample(v, 20, 0, settings);
    // The first sample, the first one at or after each grid point 2, 4, ..., 18, and the last.
    ASSERT_EQ(v.History.Count(), 11);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(v.History.Samples[i].Time, 2 * i);
    EXPECT_EQ(v.History.MeanCount, 10);
    EXPECT_EQ(v.History.Samples.back().Value, 5); // the last sample holds the marking of now

    TVertex big;
    FillVertex(big, 4099, THistorySettings{});
    EXPECT_EQ(big.History.Count(), 4099);
    big.Marking = 1;
    RecordVertexSample(big, 4099, 0, THistorySettings{});
    EXPECT_EQ(big.History.Count(), 2001);
}

TEST(HistoryCompact, KeptSamplesHoldTheirStretchMeansAndExactTotals) {
    TVertex v;
    FillVertex(v, 41, kNoCompaction);
    TVertex whole = v;
    HistoryCompact(v, 20);
    ASSERT_EQ(v.History.Count(), 21);
    EXPECT_EQ(v.History.Samples[1].Time, 2);
    EXPECT_DOUBLE_EQ(v.History.Samples[0].Value, 0.5); // markings 0 then 1 over [0, 2]
    EXPECT_EQ(TokensAt(v.History, 0), 1);              // tokens received at 0 and at 1
    EXPECT_EQ(v.History.Samples[1].Area, 1);
    EXPECT_EQ(v.History.Samples[1].Aux, 2); // and at 2 and 3
    // Windows from a kept sample or from before the first are the whole history's, exactly.
    for (double start : {0.0, 6.0, 38.0, -5.0}) {
        const TVertexStats a = VertexWindowStats(v, start, 45);
        const TVertexStats b = VertexWindowStats(whole, start, 45);
        EXPECT_EQ(a.Mean, b.Mean) << start;
        EXPECT_EQ(a.Received, b.Received) << start;
        EXPECT_EQ(a.MeanWait, b.MeanWait) << start;
    }
    // Inside a merged stretch the start is interpolated: off by at most that stretch's share.
    const TVertexStats inside = VertexWindowStats(v, 7, 45);
    EXPECT_NEAR(inside.Mean, VertexWindowStats(whole, 7, 45).Mean, 2.0 * 2 / 38);
}

TEST(HistoryCompact, TheWarmUpTimeStaysExactInsideAMergedStretch) {
    TVertex v;
    FillVertex(v, 41, kNoCompaction);
    TVertex whole = v;
    HistoryCompact(v, 20, 7.25);
    ASSERT_TRUE(v.History.Anchor.Valid);
    const TVertexStats a = VertexWindowStats(v, 7.25, 45);
    const TVertexStats b = VertexWindowStats(whole, 7.25, 45);
    EXPECT_EQ(a.Mean, b.Mean);
    EXPECT_EQ(a.Received, b.Received);
    EXPECT_EQ(a.MeanWait, b.MeanWait);
    // Grown and compacted again: the warm-up keeps its exact totals.
    for (int i = 41; i < 200; ++i) {
        v.Marking = whole.Marking = i % 5;
        RecordVertexSample(v, i, i % 3, THistorySettings{true, 20, true, 20, 7.25});
        RecordVertexSample(whole, i, i % 3, kNoCompaction);
    }
    EXPECT_LT(v.History.Count(), 42);
    EXPECT_EQ(VertexWindowStats(v, 7.25, 250).Mean, VertexWindowStats(whole, 7.25, 250).Mean);
    EXPECT_EQ(VertexWindowStats(v, 7.25, 250).Received,
              VertexWindowStats(whole, 7.25, 250).Received);
}

TEST(HistoryCompact, TransitionSamplesKeepTheirBusyTotals) {
    TTransition t;
    StartMonitoring(t, 0);
    for (int i = 1; i <= 40; ++i) {
        if (i % 2)
            BufferAppend(t.LaunchBuffer, 0);
        else
            BufferRemove(t.LaunchBuffer, 0);
        RecordTransitionSample(t, i, kNoCompaction);
    }
    TTransition whole = t;
    HistoryCompact(t, 10);
    ASSERT_EQ(t.History.Count(), 11);
    EXPECT_EQ(t.History.Samples[1].Time, 4); // kept samples stay where they were
    EXPECT_DOUBLE_EQ(t.History.Samples[0].Value, 0.5);
    EXPECT_EQ(t.History.Samples[1].Aux, 2); // busy over [0, 4]
    for (double start : {0.0, 12.0, 40.0}) {
        const TTransitionStats a = TransitionWindowStats(t, start, 50, true);
        const TTransitionStats b = TransitionWindowStats(whole, start, 50, true);
        EXPECT_EQ(a.Busy, b.Busy) << start;
        EXPECT_EQ(a.Mean, b.Mean) << start;
    }
    EXPECT_EQ(TransitionWindowStats(t, 0, 40, true).Busy, 20);
}

TEST(HistoryCompact, NormalBelowOneIsSkipped) {
    TVertex v;
    FillVertex(v, 30, kNoCompaction);
    HistoryCompact(v, 0);
    HistoryCompact(v, -5);
    EXPECT_EQ(v.History.Count(), 30);
}

TEST(Monitoring, StopClearsAndStartAgainBeginsAtTheGivenTime) {
    TVertex v;
    v.Marking = 4;
    StartMonitoring(v, 0);
    v.Marking = 6;
    RecordVertexSample(v, 1, 2, kNoCompaction);
    StartMonitoring(v, 3); // already monitoring: nothing happens
    EXPECT_EQ(v.History.Count(), 2);
    StopMonitoring(v);
    EXPECT_FALSE(v.IsMonitoring);
    EXPECT_EQ(v.History.Count(), 0);
    EXPECT_EQ(v.ChangeCount, 0);
    EXPECT_EQ(v.MaxMarking, 0);
    StartMonitoring(v, 7);
    EXPECT_EQ(v.History.Samples[0].Time, 7);
    EXPECT_EQ(v.MinMarking, 6);
    RecordUserMarking(v, 7); // merges into the first sample
    EXPECT_EQ(v.History.Count(), 1);
    v.Marking = 1;
    RecordUserMarking(v, 9);
    EXPECT_EQ(v.History.Count(), 2);
    EXPECT_EQ(v.MinMarking, 1);
    EXPECT_EQ(v.ChangeCount, 0);
}

TEST(Monitoring, ClearResultsRestartsMinimaAtTheCurrentMarking) {
    TEngineNet net;
    TVertex* v = CreateVertex(net, "", 5, 0, 0, nullptr);
    TTransition* t = CreateTransition(net, "", 0, 0, 0, nullptr);
    v->Marking = 0;
    StartMonitoring(*v, 0);
    StartMonitoring(*t, 0);
    v->Marking = 5;
    RecordVertexSample(*v, 1, 5, kNoCompaction);
    BufferAppend(t->LaunchBuffer, 3);
    RecordTransitionSample(*t, 1, kNoCompaction);
    ClearResults(net);
    EXPECT_TRUE(v->IsMonitoring);
    EXPECT_EQ(v->History.Count(), 0);
    EXPECT_EQ(v->MinMarking, 5);
    EXPECT_EQ(v->ReceivedTotal, 0);
    EXPECT_EQ(t->LaunchCount, 0);
    EXPECT_EQ(t->MaxBuffer, 0);
    v->Marking = 8;
    RecordVertexSample(*v, 2, 3, kNoCompaction);
    EXPECT_EQ(VertexWindowStats(*v, 0, 10).MinMarking, 5);
}

} // namespace
