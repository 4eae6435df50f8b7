// Every engine draws from its own generator: two engines stepped by turns in one thread, or run
// at once in two threads, end exactly where each ends when it runs alone.
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "QueueNet.h"
#include "SimulationStep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <latch>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr double kHorizon = 20000;
constexpr double kSpan = 250; // model time of one step

// Poisson arrivals into a queue that two servers of different delay laws share: whenever both
// are free, the weighted choice between them draws as well as the delays. Everything is
// monitored, so that the counters show what happened.
std::unique_ptr<TEngine> ConflictEngine(std::uint32_t seed) {
    auto engine = std::make_unique<TEngine>();
    InitEngine(*engine);
    TEngineNet& net = engine->Net;
    BuildQueueNet(net, 2, dtUniform, 1.5, 1.0);
    TVertex* queue = net.Vertices[1].get();
    TVertex* free = net.Vertices[2].get();
    TTransition* serve = net.Transitions[1].get();
    TTransition* other = CreateTransition(net, "ServeOther", 0, 2.0, 0, nullptr);
    other->DelayType = dtNormal;
    other->Deviation = 0.5;
    serve->Weight = 1;
    other->Weight = 3;
    CreateConnection(net, ctVT, 1, queue, other, nullptr);
    CreateConnection(net, ctVT, 1, free, other, nullptr);
    CreateConnection(net, ctTV, 1, free, other, nullptr);
    for (auto& vertex : net.Vertices)
        StartMonitoring(*vertex, 0);
    for (auto& transition : net.Transitions)
        StartMonitoring(*transition, 0);
    engine->ConflictCheck = true;
    engine->Random.Seed = seed;
    return engine;
}

// Whether the step is over the whole horizon; false while spans remain.
bool StepOnce(TEngine& engine) {
    TEngineNet& net = engine.Net;
    const double span = std::min(kSpan, kHorizon - net.ModelTime);
    EXPECT_FALSE(SimulationStep(net, engine.ConflictCheck, net.ModelTime, span, false, engine,
                                NoTimeBudget));
    return net.ModelTime >= kHorizon;
}

void RunToHorizon(TEngine& engine) {
    while (!StepOnce(engine)) {
    }
}

// What a run leaves behind: the generator, the counters, the markings and the pending completion
// times (drawn delays), in a form that compares exactly.
struct TRunEnd {
    std::uint32_t Seed = 0;
    double ModelTime = 0;
    std::uint64_t EventCount = 0;
    std::vector<std::int32_t> Vertices;    // marking, change count, received total, each vertex
    std::vector<std::int32_t> Transitions; // launch count, buffer minimum and maximum, each one
    std::vector<double> Pending;           // sorted, per transition
};

TRunEnd EndOf(const TEngine& engine) {
    TRunEnd end;
    end.Seed = engine.Random.Seed;
    end.ModelTime = engine.Net.ModelTime;
    end.EventCount = engine.Net.EventCount;
    for (const auto& vertex : engine.Net.Vertices)
        end.Vertices.insert(end.Vertices.end(),
                            {vertex->Marking, vertex->ChangeCount, vertex->ReceivedTotal});
    for (const auto& transition : engine.Net.Transitions) {
        end.Transitions.insert(
            end.Transitions.end(),
            {transition->LaunchCount, transition->MinBuffer, transition->MaxBuffer});
        std::vector<double> pending = transition->LaunchBuffer.Entries;
        std::sort(pending.begin(), pending.end());
        end.Pending.insert(end.Pending.end(), pending.begin(), pending.end());
    }
    return end;
}

void ExpectSameEnd(const TRunEnd& actual, const TRunEnd& alone) {
    EXPECT_EQ(actual.Seed, alone.Seed);
    EXPECT_EQ(actual.ModelTime, alone.ModelTime);
    EXPECT_EQ(actual.EventCount, alone.EventCount);
    EXPECT_EQ(actual.Vertices, alone.Vertices);
    EXPECT_EQ(actual.Transitions, alone.Transitions);
    EXPECT_EQ(actual.Pending, alone.Pending);
}

class ParallelEngines : public ::testing::Test {
protected:
    static TRunEnd RunAlone(std::uint32_t seed) {
        const auto engine = ConflictEngine(seed);
        RunToHorizon(*engine);
        return EndOf(*engine);
    }

    void SetUp() override {
        AloneFirst = RunAlone(11);
        AloneSecond = RunAlone(29);
        // The two runs must differ, or a mix-up of their draws could go unnoticed.
        ASSERT_NE(AloneFirst.Seed, AloneSecond.Seed);
        ASSERT_NE(AloneFirst.Vertices, AloneSecond.Vertices);
        ASSERT_GT(AloneFirst.Transitions[3], 1000); // both servers launched often
        ASSERT_GT(AloneFirst.Transitions[6], 1000);
    }

    TRunEnd AloneFirst;
    TRunEnd AloneSecond;
};

TEST_F(ParallelEngines, SteppedByTurnsInOneThreadEachEndsAsAlone) {
    const auto first = ConflictEngine(11);
    const auto second = ConflictEngine(29);
    bool firstDone = false, secondDone = false;
    while (!firstDone || !secondDone) {
        if (!firstDone)
            firstDone = StepOnce(*first);
        if (!secondDone)
            secondDone = StepOnce(*second);
    }
    ExpectSameEnd(EndOf(*first), AloneFirst);
    ExpectSameEnd(EndOf(*second), AloneSecond);
}

TEST_F(ParallelEngines, RunAtOnceInTwoThreadsEachEndsAsAlone) {
    const auto first = ConflictEngine(11);
    const auto second = ConflictEngine(29);
    std::latch start(2); // both threads begin stepping together
    auto run = [&start](TEngine& engine) {
        start.arrive_and_wait();
        RunToHorizon(engine);
    };
    std::thread firstThread(run, std::ref(*first));
    std::thread secondThread(run, std::ref(*second));
    firstThread.join();
    secondThread.join();
    ExpectSameEnd(EndOf(*first), AloneFirst);
    ExpectSameEnd(EndOf(*second), AloneSecond);
}

} // namespace
