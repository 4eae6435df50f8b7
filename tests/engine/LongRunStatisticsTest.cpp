// Statistics of long monitored runs: with history compaction on they equal the same run's with
// compaction off, bit for bit, and they agree with queueing theory.
#include "Firing.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "Random.h"
#include "RunControl.h"
#include "Statistics.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr double kHorizon = 200000;

// A queue fed by Poisson arrivals of rate 1, with `servers` servers of the given service law;
// every object monitored from time 0.
std::unique_ptr<TEngine> QueueEngine(std::int32_t servers, TDelayType service, double mean, double deviation) {
    auto engine = std::make_unique<TEngine>();
    InitEngine(*engine);
    TEngineNet& net = engine->Net;
    TVertex* source = CreateVertex(net, "Source", 1, 0, 0, nullptr);
    TVertex* queue = CreateVertex(net, "Queue", 0, 0, 0, nullptr);
    TVertex* free = CreateVertex(net, "Free", servers, 0, 0, nullptr);
    TTransition* arrive = CreateTransition(net, "Arrive", 0, 1.0, 0, nullptr);
    TTransition* serve = CreateTransition(net, "Serve", 0, mean, 0, nullptr);
    arrive->DelayType = dtExponential;
    serve->DelayType = service;
    serve->Deviation = deviation;
    CreateConnection(net, ctVT, 1, source, arrive, nullptr);
    CreateConnection(net, ctTV, 1, source, arrive, nullptr);
    CreateConnection(net, ctTV, 1, queue, arrive, nullptr);
    CreateConnection(net, ctVT, 1, queue, serve, nullptr);
    CreateConnection(net, ctVT, 1, free, serve, nullptr);
    CreateConnection(net, ctTV, 1, free, serve, nullptr);
    for (auto& vertex : net.Vertices)
        StartMonitoring(*vertex, 0);
    for (auto& transition : net.Transitions)
        StartMonitoring(*transition, 0);
    return engine;
}

void Run(TEngine& engine, std::uint32_t seed, double horizon) {
    RandomSeed = seed;
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
TRunPair RunBoth(double warmUp, std::int32_t servers = 1) {
    TRunPair pair{QueueEngine(servers, dtExponential, 0.8 * servers, 0),
                  QueueEngine(servers, dtExponential, 0.8 * servers, 0)};
    pair.Compacted->WarmUpInterval = pair.Whole->WarmUpInterval = warmUp;
    pair.Whole->DoVertexHistorySimple = pair.Whole->DoTransitionHistorySimple = false;
    Run(*pair.Compacted, 17, kHorizon);
    Run(*pair.Whole, 17, kHorizon);
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
        const TTransitionStats a = TransitionWindowStats(*compacted.Transitions[i], warmUp, now, true);
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

// Wait in queue and load of the server against queueing theory, arrivals of rate 1 and
// utilisation 0.8. One seed, so the tolerances leave room for the statistical error.
TEST(LongRunTheory, SingleAndTripleServerQueues) {
    {
        const TRunPair runs = RunBoth(1000);
        const TEngineNet& net = runs.Compacted->Net;
        const TVertexStats queue = VertexWindowStats(*net.Vertices[1], 1000, net.ModelTime);
        const TTransitionStats server = TransitionWindowStats(*net.Transitions[1], 1000, net.ModelTime, true);
        EXPECT_NEAR(queue.Mean, 3.2, 0.3);     // Lq = rho^2 / (1 - rho)
        EXPECT_NEAR(queue.MeanWait, 3.2, 0.3); // Wq = Lq / lambda
        EXPECT_NEAR(server.BusyPercent, 80, 0.8);
    }
    {
        const TRunPair runs = RunBoth(1000, 3);
        const TEngineNet& net = runs.Compacted->Net;
        const TVertexStats queue = VertexWindowStats(*net.Vertices[1], 1000, net.ModelTime);
        const TTransitionStats server = TransitionWindowStats(*net.Transitions[1], 1000, net.ModelTime, true);
        EXPECT_NEAR(queue.MeanWait, 2.589, 0.3);       // Erlang C with a = 2.4
        EXPECT_NEAR(server.BusyPercent, 94.382, 0.8);  // some server busy: 1 - P0
        EXPECT_NEAR(server.Mean, 2.4, 0.05);           // busy servers on average
    }
}

} // namespace
