// Statistics of long monitored runs: with history compaction on they equal the same run's with
// compaction off, bit for bit, and they agree with queueing theory.
#include "Monitoring.h"
#include "NetObjects.h"
#include "QueueNet.h"
#include "RunControl.h"
#include "SimulationStep.h"
#include "Statistics.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr double kHorizon = 200000;

// The queue with `servers` servers of the given service law, every object monitored from time 0.
std::unique_ptr<TEngine> QueueEngine(std::int32_t servers, TDelayType service, double mean,
                                     double deviation) {
    auto engine = std::make_unique<TEngine>();
    InitEngine(*engine);
    TEngineNet& net = engine->Net;
    BuildQueueNet(net, servers, service, mean, deviation);
    for (auto& vertex : net.Vertices)
        StartMonitoring(*vertex, 0);
    for (auto& transition : net.Transitions)
        StartMonitoring(*transition, 0);
    return engine;
}

void RunFor(TEngine& engine, std::uint32_t seed, double horizon) {
    engine.Random.Seed = seed;
    RunInterval(engine, horizon);
    while (!IntervalEndReached(engine))
        ASSERT_FALSE(IntervalStep(engine, NoTimeBudget));
    StopRun(engine);
}

struct TRunPair {
    std::unique_ptr<TEngine> Compacted;
    std::unique_ptr<TEngine> Whole;
};

// The same run twice, with compaction at its defaults and switched off, the warm-up set first
// as the editor's simulation panel sets it.
TRunPair RunBoth(double warmUp) {
    TRunPair pair{QueueEngine(1, dtExponential, 0.8, 0), QueueEngine(1, dtExponential, 0.8, 0)};
    pair.Compacted->WarmUpInterval = pair.Whole->WarmUpInterval = warmUp;
    pair.Whole->DoVertexHistorySimple = pair.Whole->DoTransitionHistorySimple = false;
    RunFor(*pair.Compacted, 17, kHorizon);
    RunFor(*pair.Whole, 17, kHorizon);
    return pair;
}

class LongRun : public ::testing::TestWithParam<double> {};

TEST_P(LongRun, CompactionOnAndOffGiveTheSameFigures) {
    const double warmUp = GetParam();
    const TRunPair runs = RunBoth(warmUp);
    const TEngineNet& compacted = runs.Compacted->Net;
    const TEngineNet& whole = runs.Whole->Net;
    const double now = compacted.ModelTime;
    ASSERT_EQ(now, whole.ModelTime);
    for (std::size_t i = 0; i < compacted.Vertices.size(); ++i) {
        SCOPED_TRACE(compacted.Vertices[i]->Name);
        EXPECT_LE(compacted.Vertices[i]->History.Count(), 4100); // memory stays bounded
        const TVertexStats a = VertexWindowStats(*compacted.Vertices[i], warmUp, now);
        const TVertexStats b = VertexWindowStats(*whole.Vertices[i], warmUp, now);
        EXPECT_EQ(a.Mean, b.Mean);
        EXPECT_EQ(a.MeanWait, b.MeanWait);
        EXPECT_EQ(a.Received, b.Received);
        EXPECT_EQ(a.MinMarking, b.MinMarking);
        EXPECT_EQ(a.MaxMarking, b.MaxMarking);
    }
    for (std::size_t i = 0; i < compacted.Transitions.size(); ++i) {
        SCOPED_TRACE(compacted.Transitions[i]->Name);
        EXPECT_LE(compacted.Transitions[i]->History.Count(), 4100);
        const TTransitionStats a =
            TransitionWindowStats(*compacted.Transitions[i], warmUp, now, true);
        const TTransitionStats b = TransitionWindowStats(*whole.Transitions[i], warmUp, now, true);
        EXPECT_EQ(a.Mean, b.Mean);
        EXPECT_EQ(a.Busy, b.Busy);
        EXPECT_EQ(a.BusyPercent, b.BusyPercent);
        EXPECT_LE(a.BusyPercent, 100);
    }
    // The source's generator is always busy.
    EXPECT_EQ(TransitionWindowStats(*compacted.Transitions[0], warmUp, now, true).BusyPercent, 100);
}

// From the start, a warm-up that compaction later merges into a stretch, and one far inside.
INSTANTIATE_TEST_SUITE_P(WarmUps, LongRun, ::testing::Values(0.0, 1000.0, 77777.7));

// Queue length, wait in queue and load of the servers against queueing theory, arrivals of
// rate 1 and utilisation 0.8, compaction on. One seed, so the tolerances leave room for the
// statistical error of the run.
struct TQueueTheory {
    const char* Name;
    std::int32_t Servers;
    TDelayType Service;
    double Mean;
    double Deviation;
    double WaitInQueue; // Lq = Wq with arrivals of rate 1
    double SomeServerBusy;
};

class LongRunTheory : public ::testing::TestWithParam<TQueueTheory> {};

TEST_P(LongRunTheory, QueueAndLoadAgreeWithTheory) {
    const TQueueTheory& q = GetParam();
    const auto engine = QueueEngine(q.Servers, q.Service, q.Mean, q.Deviation);
    engine->WarmUpInterval = 1000;
    RunFor(*engine, 23, kHorizon);
    const TEngineNet& net = engine->Net;
    const TVertexStats queue = VertexWindowStats(*net.Vertices[1], 1000, net.ModelTime);
    const TTransitionStats server =
        TransitionWindowStats(*net.Transitions[1], 1000, net.ModelTime, true);
    EXPECT_NEAR(queue.Mean, q.WaitInQueue, 0.1 * q.WaitInQueue);
    EXPECT_NEAR(queue.MeanWait, q.WaitInQueue, 0.1 * q.WaitInQueue);
    EXPECT_NEAR(server.BusyPercent, q.SomeServerBusy, 0.8);
    EXPECT_NEAR(server.Mean, 0.8 * q.Servers, 0.02 * q.Servers); // busy servers on average
}

// M/M/1: rho^2 / (1 - rho). M/D/1 and M/U/1 (service uniform on [0.4, 1.2)): lambda E[S^2] /
// (2 (1 - rho)). M/M/3: Erlang C with a = 2.4, and some server busy with probability 1 - P0.
INSTANTIATE_TEST_SUITE_P(Queues, LongRunTheory,
                         ::testing::Values(TQueueTheory{"MM1", 1, dtExponential, 0.8, 0, 3.2, 80},
                                           TQueueTheory{"MD1", 1, dtDefault, 0.8, 0, 1.6, 80},
                                           TQueueTheory{"MU1", 1, dtUniform, 0.8, 0.4, 1.7333, 80},
                                           TQueueTheory{"MM3", 3, dtExponential, 2.4, 0, 2.589,
                                                        94.382}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
