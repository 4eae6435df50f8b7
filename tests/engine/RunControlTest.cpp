#include "RunControl.h"
#include "Fades.h"
#include "Firing.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "SimulationStep.h"
#include "Statistics.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <future>
#include <thread>

namespace {

// Runs handed-over work at once, on the calling thread.
THandOver DirectHandOver() {
    return THandOver([](std::function<void()> work) { work(); });
}

class RunControlTest : public ::testing::Test {
protected:
    void SetUp() override { InitEngine(Engine); }

    // A net whose transition completes and relaunches every `delay` units.
    TTransition* Loop(double delay) {
        TVertex* p = CreateVertex(Engine.Net, "P", 1, 0, 0, nullptr);
        TTransition* t = CreateTransition(Engine.Net, "T", 0, delay, 0, nullptr);
        CreateConnection(Engine.Net, ctVT, 1, p, t, nullptr);
        CreateConnection(Engine.Net, ctTV, 1, p, t, nullptr);
        return t;
    }

    TEngine Engine;
};

TEST_F(RunControlTest, RunModeFollowsTheCommands) {
    StartRealTime(Engine);
    EXPECT_EQ(Engine.RunMode, rmRealTime);
    StopRun(Engine);
    EXPECT_EQ(Engine.RunMode, rmStopped);
    RunInterval(Engine, 10);
    EXPECT_EQ(Engine.RunMode, rmInterval);
    Engine.Net.ModelTime = 4;
    RunInterval(Engine, 10); // a new interval from the current model time
    EXPECT_EQ(Engine.IntervalEnd, 14);
    EXPECT_EQ(Engine.IntervalLength, 10);
    StartRealTime(Engine); // an interval run turns into a real-time run
    EXPECT_EQ(Engine.RunMode, rmRealTime);
    EXPECT_EQ(Engine.IntervalEnd, 14);
    RunInterval(Engine, 1);
    StopRun(Engine);
    EXPECT_EQ(Engine.RunMode, rmStopped);
}

TEST_F(RunControlTest, IntervalOfZeroRunsOneStepAtTheCurrentInstant) {
    TVertex* p = CreateVertex(Engine.Net, "P", 1, 0, 0, nullptr);
    TTransition* t = CreateTransition(Engine.Net, "T", 0, 0, 0, nullptr);
    CreateConnection(Engine.Net, ctVT, 1, p, t, nullptr);
    RunInterval(Engine, 0);
    EXPECT_EQ(ModelTick(Engine), rmStopped);
    EXPECT_EQ(Engine.Net.Vertices[0]->Marking, 0);
    EXPECT_EQ(BufferCount(t->LaunchBuffer), 0); // completed at 0 too
    EXPECT_EQ(Engine.Net.ModelTime, 0);
}

TEST_F(RunControlTest, IntervalEndsExactlyAtItsEnd) {
    Loop(0.3);
    Engine.Net.ModelTime = 250;
    RunInterval(Engine, 1000);
    while (Engine.RunMode == rmInterval)
        ModelTick(Engine);
    EXPECT_EQ(Engine.Net.ModelTime, 1250);

    Engine.Net.ModelTime = 0.1;
    RunInterval(Engine, 0.2); // the end 0.30000000000000004 lies off the grid
    EXPECT_EQ(ModelTick(Engine), rmStopped);
    EXPECT_EQ(Engine.Net.ModelTime, 0.3);
}

TEST_F(RunControlTest, LongIntervalIsCutIntoSpansOfFiveMillion) {
    Loop(1000000); // something happens in every span
    RunInterval(Engine, 12000000);
    EXPECT_EQ(ModelTick(Engine), rmInterval);
    EXPECT_EQ(Engine.Net.ModelTime, 5000000);
    EXPECT_EQ(ModelTick(Engine), rmInterval);
    EXPECT_EQ(Engine.Net.ModelTime, 10000000);
    EXPECT_EQ(ModelTick(Engine), rmStopped);
    EXPECT_EQ(Engine.Net.ModelTime, 12000000);
}

TEST_F(RunControlTest, OverflowStopsTheRun) {
    TVertex* flag = CreateVertex(Engine.Net, "Flag", 1, 0, 0, nullptr);
    TTransition* t = CreateTransition(Engine.Net, "Runaway", 0, 1, 0, nullptr);
    CreateConnection(Engine.Net, ctVT, 1, flag, t, nullptr)->IsInform = true;
    int messages = 0;
    Engine.ShowMessage = [&](const std::string&) { ++messages; };
    RunInterval(Engine, 10);
    for (int i = 0; i < 1000 && Engine.RunMode == rmInterval; ++i)
        ModelTick(Engine); // each tick stops at the 50 ms budget or at the overflow
    EXPECT_EQ(Engine.RunMode, rmStopped);
    EXPECT_EQ(messages, 1);
}

TEST_F(RunControlTest, DelayZeroCycleStopsRealTimeAndIntervalRuns) {
    TVertex* p = CreateVertex(Engine.Net, "P", 1, 0, 0, nullptr);
    TVertex* q = CreateVertex(Engine.Net, "Q", 0, 0, 0, nullptr);
    TTransition* there = CreateTransition(Engine.Net, "There", 0, 0, 0, nullptr);
    TTransition* back = CreateTransition(Engine.Net, "Back", 0, 0, 0, nullptr);
    CreateConnection(Engine.Net, ctVT, 1, p, there, nullptr);
    CreateConnection(Engine.Net, ctTV, 1, q, there, nullptr);
    CreateConnection(Engine.Net, ctVT, 1, q, back, nullptr);
    CreateConnection(Engine.Net, ctTV, 1, p, back, nullptr);
    std::vector<std::string> messages;
    Engine.ShowMessage = [&](const std::string& message) { messages.push_back(message); };
    for (bool realTime : {true, false}) {
        messages.clear();
        if (realTime)
            StartRealTime(Engine);
        else
            RunInterval(Engine, 100);
        const TRunMode running = Engine.RunMode;
        // Each tick ends at the 50 ms budget until the count passes the limit; ticks that never
        // stop give up once twice the limit of events has passed, however slow the machine.
        const std::uint64_t start = Engine.Net.EventCount;
        while (Engine.RunMode == running && Engine.Net.EventCount - start < 2 * InstantEventLimit)
            ModelTick(Engine);
        EXPECT_EQ(Engine.RunMode, rmStopped) << realTime;
        EXPECT_EQ(Engine.Net.ModelTime, 0);
        EXPECT_EQ(Engine.Net.StopCause, rsEndlessInstant);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("у цей момент: There, Back."), std::string::npos);
    }
}

TEST_F(RunControlTest, IdleNetGoesToTheEndOfAHugeIntervalInOneTick) {
    RunInterval(Engine, 1e300);
    EXPECT_EQ(ModelTick(Engine), rmStopped);
    EXPECT_EQ(Engine.Net.ModelTime, RoundToTimeGrid(1e300));
    EXPECT_TRUE(IntervalEndReached(Engine));

    // Pending only beyond the end, and nothing enabled: nothing can happen before it.
    ClearRunHistory(Engine);
    TTransition* late = Loop(1e9);
    LaunchTransition(*late, Engine.Net, 0, false, Engine);
    Engine.Net.ModelTime = 0.1;
    RunInterval(Engine, 5e8);
    EXPECT_EQ(ModelTick(Engine), rmStopped);
    const double end = RoundToTimeGrid(0.1 + 5e8);
    EXPECT_EQ(Engine.Net.ModelTime, end);
    EXPECT_EQ(BufferCount(late->LaunchBuffer), 1);
    // A completion due before the end keeps the spans.
    RunInterval(Engine, 1e9);
    EXPECT_EQ(ModelTick(Engine), rmInterval);
    EXPECT_EQ(Engine.Net.ModelTime, RoundToTimeGrid(end + IntervalSpanCap));
}

// A net that works for a while and then waits for ever: three tokens served one by one.
void BuildDrainingNet(TEngine& engine) {
    TEngineNet& net = engine.Net;
    TVertex* jobs = CreateVertex(net, "Jobs", 3, 0, 0, nullptr);
    TVertex* done = CreateVertex(net, "Done", 0, 0, 0, nullptr);
    TVertex* free = CreateVertex(net, "Free", 1, 0, 0, nullptr);
    TTransition* serve = CreateTransition(net, "Serve", 0, 2.7, 0, nullptr);
    serve->DelayType = dtExponential;
    CreateConnection(net, ctVT, 1, jobs, serve, nullptr);
    CreateConnection(net, ctVT, 1, free, serve, nullptr);
    CreateConnection(net, ctTV, 1, free, serve, nullptr);
    CreateConnection(net, ctTV, 1, done, serve, nullptr);
    for (auto& vertex : net.Vertices)
        StartMonitoring(*vertex, 0);
    StartMonitoring(*serve, 0);
}

TEST_F(RunControlTest, IdleStretchEndsWhereSpanBySpanRunsEndWithTheSameFigures) {
    for (double length : {37000000.3, 123456789.123, 5000000.7, 2.5e10 + 0.01}) {
        TEngine skipping, spans;
        InitEngine(skipping);
        InitEngine(spans);
        for (TEngine* engine : {&skipping, &spans}) {
            engine->Random.Seed = 2024;
            BuildDrainingNet(*engine);
            engine->Net.ModelTime = 0.1 + 0.2; // off the time grid
            RunInterval(*engine, length);
        }
        int ticks = 0;
        while (skipping.RunMode == rmInterval && ticks < 1000) {
            ModelTick(skipping);
            ++ticks;
        }
        EXPECT_LE(ticks, 2) << length;
        // Span by span, as every interval step went before.
        while (!IntervalEndReached(spans)) {
            const double span = std::min(spans.IntervalEnd - spans.Net.ModelTime, IntervalSpanCap);
            ASSERT_FALSE(SimulationStep(spans.Net, spans.ConflictCheck, spans.Net.ModelTime, span,
                                        false, spans, NoTimeBudget));
        }
        EXPECT_EQ(skipping.Net.ModelTime, spans.Net.ModelTime) << length;
        EXPECT_EQ(skipping.Net.EventCount, spans.Net.EventCount);
        const double now = spans.Net.ModelTime;
        for (std::size_t v = 0; v < 3; ++v) {
            const TVertexStats a = VertexWindowStats(*skipping.Net.Vertices[v], 1, now);
            const TVertexStats b = VertexWindowStats(*spans.Net.Vertices[v], 1, now);
            EXPECT_EQ(a.Mean, b.Mean) << length << " vertex " << v;
            EXPECT_EQ(a.MeanWait, b.MeanWait);
            EXPECT_GT(a.Mean, 0);
        }
        const TTransitionStats a =
            TransitionWindowStats(*skipping.Net.Transitions[0], 0, now, true);
        const TTransitionStats b = TransitionWindowStats(*spans.Net.Transitions[0], 0, now, true);
        EXPECT_EQ(a.Mean, b.Mean);
        EXPECT_EQ(a.BusyPercent, b.BusyPercent);
    }
}

TEST_F(RunControlTest, ClearRunHistoryDuringARunStopsIt) {
    TTransition* t = Loop(5);
    StartMonitoring(*Engine.Net.Vertices[0], 0);
    RunInterval(Engine, 7);
    ModelTick(Engine);
    ASSERT_EQ(BufferCount(t->LaunchBuffer), 1);
    StartRealTime(Engine);
    ClearRunHistory(Engine);
    EXPECT_EQ(Engine.RunMode, rmStopped);
    EXPECT_EQ(Engine.Net.ModelTime, 0);
    EXPECT_EQ(BufferCount(t->LaunchBuffer), 0);
    EXPECT_EQ(Engine.Net.Vertices[0]->History.Count(), 0);
    EXPECT_EQ(ModelTick(Engine), rmStopped); // a tick still queued does nothing
    EXPECT_EQ(Engine.Net.ModelTime, 0);
}

TEST_F(RunControlTest, RealTimePacingSleepsTheRestOfTheFortyMilliseconds) {
    Loop(1);
    THandOver handOver = DirectHandOver();
    std::deque<std::int64_t> ticks;
    auto clock = [&] {
        const std::int64_t t = ticks.front();
        ticks.pop_front();
        return t;
    };
    Engine.TimeScale = 2;
    StartRealTime(Engine);
    ticks = {1000, 1012};
    EXPECT_EQ(ModelThreadCycle(Engine, handOver, clock), 28);
    EXPECT_DOUBLE_EQ(Engine.Net.ModelTime, 0.08);
    ticks = {2000, 2060};
    EXPECT_EQ(ModelThreadCycle(Engine, handOver, clock), 5);
    EXPECT_DOUBLE_EQ(Engine.Net.ModelTime, 0.16);

    // Interval steps follow one another without a pause.
    RunInterval(Engine, 100);
    ticks = {0, 1};
    EXPECT_EQ(ModelThreadCycle(Engine, handOver, clock), 0);
}

TEST_F(RunControlTest, DisplayThreadsPauseWhenIdleAndWakeOnRequestRunOrFade) {
    Loop(1);
    THandOver handOver = DirectHandOver();
    int draws = 0;
    int results = 0;
    Engine.DrawWork = [&] { ++draws; };
    Engine.RefreshObjectResults = [&] { ++results; };
    // Stand-ins for the workers whose pause and resume the cycles drive.
    Engine.ThreadDraw = std::make_unique<TWorkerThread>([] { return 1000; }, true, false);
    Engine.ThreadUpdate = std::make_unique<TWorkerThread>([] { return 1000; }, true, false);
    auto cycleUntilPaused = [&](int limit) {
        int cycles = 0;
        while (cycles < limit && !Engine.ThreadDraw->IsPaused()) {
            DrawThreadCycle(Engine, handOver);
            ++cycles;
        }
        return cycles;
    };

    RequestRefresh(Engine);
    EXPECT_FALSE(Engine.ThreadDraw->IsPaused());
    EXPECT_FALSE(Engine.ThreadUpdate->IsPaused());
    EXPECT_EQ(cycleUntilPaused(100), RefreshSettleCycles + 1);
    for (int i = 0; i <= RefreshSettleCycles; ++i)
        UpdateThreadCycle(Engine, handOver);
    EXPECT_TRUE(Engine.ThreadUpdate->IsPaused());
    EXPECT_EQ(draws, RefreshSettleCycles + 1);
    EXPECT_EQ(results, RefreshSettleCycles + 1);

    // A run keeps both going however long it lasts, and its stop wakes them once more.
    StartRealTime(Engine);
    EXPECT_EQ(cycleUntilPaused(3 * RefreshSettleCycles), 3 * RefreshSettleCycles);
    StopRun(Engine);
    EXPECT_EQ(cycleUntilPaused(100), RefreshSettleCycles + 1);

    // A fade under way keeps the drawing going; it stops once the fade is shown to its end.
    TTransition* t = Engine.Net.Transitions[0].get();
    Engine.ThreadDraw->Resume();
    StartFade(*t, Engine.Graph.FrameTime, 1000, t->Color ^ 0xFFFFFF);
    EXPECT_EQ(cycleUntilPaused(3 * RefreshSettleCycles), 3 * RefreshSettleCycles);
    Engine.Graph.FrameTime += 1000;
    EXPECT_EQ(cycleUntilPaused(100), 1);
    Engine.ThreadDraw.reset();
    Engine.ThreadUpdate.reset();
}

TEST_F(RunControlTest, AFrameSlowerThanThePeriodIsFollowedByARestAsLong) {
    THandOver handOver = DirectHandOver();
    SetScreenUpdateInterval(Engine, 14);
    Engine.DrawWork = [] {};
    EXPECT_EQ(DrawThreadCycle(Engine, handOver), 14);
    Engine.DrawWork = [] { std::this_thread::sleep_for(std::chrono::milliseconds(40)); };
    EXPECT_GE(DrawThreadCycle(Engine, handOver), 40);
    // An interval run rests its longer display period after a fast frame.
    Engine.DrawWork = [] {};
    Engine.RunMode = rmInterval;
    EXPECT_EQ(DrawThreadCycle(Engine, handOver), IntervalDisplayPeriod);
    Engine.RunMode = rmStopped;
}

TEST_F(RunControlTest, OnlyFadesThatChangeAColourCountAsUnderWay) {
    TTransition* t = Loop(1);
    TConnection* c = Engine.Net.Connections[0].get();
    TVertex* p = Engine.Net.Vertices[0].get();
    EXPECT_FALSE(AnyFadeInProgress(Engine, 0));
    // Connections settle by fading to the colour they have: nothing to show.
    StartFade(*c, 0, 100, c->Color);
    EXPECT_FALSE(AnyFadeInProgress(Engine, 50));
    StartFade(*c, 0, 100, c->Color ^ 1);
    EXPECT_TRUE(AnyFadeInProgress(Engine, 99));
    EXPECT_FALSE(AnyFadeInProgress(Engine, 100));
    StartFade(*p, 200, 100, {p->LineColor, p->FillColor ^ 1});
    EXPECT_TRUE(AnyFadeInProgress(Engine, 250));
    EXPECT_FALSE(AnyFadeInProgress(Engine, 300));
    StartFade(*t, 400, 10, t->Color ^ 1);
    EXPECT_TRUE(AnyFadeInProgress(Engine, 400));
    EXPECT_FALSE(AnyFadeInProgress(Engine, 410));
}

TEST_F(RunControlTest, ModelThreadIsPausedExactlyWhenTheRunStops) {
    std::deque<std::function<void()>> queue;
    std::mutex mutex;
    StartEngineThreads(Engine, [&](std::function<void()> work) {
        std::lock_guard lock(mutex);
        queue.push_back(std::move(work));
    });
    EXPECT_TRUE(Engine.ThreadModel->IsPaused());
    EXPECT_FALSE(Engine.ThreadDraw->IsPaused());
    RunInterval(Engine, 0);
    EXPECT_FALSE(Engine.ThreadModel->IsPaused());
    // Play the interface thread: run what the workers hand over until the run ends.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Engine.RunMode != rmStopped && std::chrono::steady_clock::now() < deadline) {
        std::function<void()> work;
        {
            std::lock_guard lock(mutex);
            if (!queue.empty()) {
                work = std::move(queue.front());
                queue.pop_front();
            }
        }
        if (work)
            work();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(Engine.RunMode, rmStopped);
    EXPECT_TRUE(Engine.ThreadModel->IsPaused());
    StopEngineThreads(Engine);
}

TEST_F(RunControlTest, StoppingTheThreadsReleasesAWaitingHandOverAtOnce) {
    // The interface never runs the work: every worker ends up waiting in its hand-over.
    StartEngineThreads(Engine, [](std::function<void()>) {});
    StartUpdateThread(Engine);
    StartRealTime(Engine);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    auto stopped = std::async(std::launch::async, [&] { StopEngineThreads(Engine); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(1)), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(Engine.ThreadModel);
    StopEngineThreads(Engine); // a second call is harmless
}

TEST_F(RunControlTest, RefreshPeriodReachesTheDrawingThreadAndIsAtLeastOne) {
    EXPECT_EQ(Engine.DrawPeriod, InitialDrawPeriod);
    std::int32_t told = -1;
    Engine.ScreenIntervalChanged = [&](std::int32_t ms) { told = ms; };
    SetScreenUpdateInterval(Engine, 14);
    EXPECT_EQ(Engine.DrawPeriod, 14);
    EXPECT_EQ(told, 14);
    SetScreenUpdateInterval(Engine, 0);
    EXPECT_EQ(Engine.Graph.Options.ScreenUpdateInterval, 1);
    EXPECT_EQ(Engine.DrawPeriod, 1);
}

TEST_F(RunControlTest, RefreshResultsCallsTheRegisteredDisplays) {
    int results = 0;
    int charts = 0;
    RefreshResults(Engine);
    Engine.RefreshObjectResults = [&] { ++results; };
    Engine.RefreshCharts = [&] { ++charts; };
    RefreshResults(Engine);
    EXPECT_EQ(results, 1);
    EXPECT_EQ(charts, 1);
}

} // namespace
