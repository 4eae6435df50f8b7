#include "RunControl.h"

#include "Clock.h"
#include "Fades.h"
#include "Firing.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NumberText.h"
#include "SimulationStep.h"

#include <algorithm>

namespace {

void PauseModel(TEngine& engine) {
    if (engine.ThreadModel)
        engine.ThreadModel->Pause();
}

void ResumeModel(TEngine& engine) {
    if (engine.ThreadModel)
        engine.ThreadModel->Resume();
}

// Whether a display thread goes on after this cycle: while a run goes on, while a fade is to be
// shown, and for the cycles left of the last request.
bool KeepRefreshing(const TEngine& engine, std::atomic<int>& cyclesLeft, bool animating) {
    if (engine.RunMode != rmStopped || animating)
        return true;
    int left = cyclesLeft.load();
    while (left > 0 && !cyclesLeft.compare_exchange_weak(left, left - 1)) {
    }
    return left > 0;
}

// The sleep of a display thread after a cycle: its own period, stretched during interval runs.
int DisplayPeriod(const TEngine& engine, int period) {
    return engine.RunMode == rmInterval ? std::max(period, IntervalDisplayPeriod) : period;
}

} // namespace

void StartRealTime(TEngine& engine) {
    engine.RunMode = rmRealTime;
    ResumeModel(engine);
    RequestRefresh(engine);
}

void StopRun(TEngine& engine) {
    PauseModel(engine);
    engine.RunMode = rmStopped;
    // The state the run stopped in is still to be drawn and its results shown.
    RequestRefresh(engine);
}

void RunInterval(TEngine& engine, double length) {
    PauseModel(engine);
    engine.RunMode = rmInterval;
    engine.IntervalLength = length;
    engine.IntervalEnd = engine.Net.ModelTime + length;
    ResumeModel(engine);
    RequestRefresh(engine);
}

void ClearRunHistory(TEngine& engine) {
    ClearResults(engine.Net);
    ClearLaunchBuffers(engine.Net);
    engine.Net.ModelTime = 0;
    engine.Net.CountedInstant = 0;
    engine.Net.EventsBeforeInstant = engine.Net.EventCount;
    ++engine.Net.RunResets;
    if (engine.RunMode != rmStopped)
        StopRun(engine);
    RequestRefresh(engine);
}

bool RealTimeStep(TEngine& engine) {
    return SimulationStep(engine.Net, engine.ConflictCheck, engine.Net.ModelTime,
                          engine.RealTimeTick * engine.TimeScale, true, engine);
}

namespace {

// Whether the net can do anything before model time `end`: launch a transition now, complete a
// pending launch by then, or stop for a launch buffer that is already too long.
bool CanActBefore(const TEngineNet& net, double end) {
    for (const auto& transition : net.Transitions) {
        const TTransitionBuffer& buffer = transition->LaunchBuffer;
        if (BufferCount(buffer) > BufferOverflowLimit)
            return true;
        if (BufferCount(buffer) > 0 && BufferEarliest(buffer).Time <= end)
            return true;
        if (IsTransitionEnabled(*transition, net))
            return true;
    }
    return false;
}

} // namespace

bool SkipIdleInterval(TEngine& engine) {
    TEngineNet& net = engine.Net;
    // One span left: the step itself goes there.
    if (!(engine.IntervalEnd - net.ModelTime > IntervalSpanCap))
        return false;
    const double end = RoundToTimeGrid(engine.IntervalEnd);
    if (CanActBefore(net, end))
        return false;
    // Span by span, the last span starts at least halfway to the end, so its start plus the rest
    // of the interval is the interval's end exactly, and the step puts that on the time grid.
    // Nothing else of the net changes over spans in which nothing happens.
    net.ModelTime = end;
    return true;
}

bool IntervalStep(TEngine& engine, int budgetMs) {
    if (SkipIdleInterval(engine))
        return false;
    const double span = std::min(engine.IntervalEnd - engine.Net.ModelTime, IntervalSpanCap);
    return SimulationStep(engine.Net, engine.ConflictCheck, engine.Net.ModelTime, span, false,
                          engine, budgetMs);
}

bool IntervalEndReached(const TEngine& engine) {
    return engine.Net.ModelTime >= RoundToTimeGrid(engine.IntervalEnd);
}

void RequestRefresh(TEngine& engine) {
    engine.DrawCyclesLeft = RefreshSettleCycles;
    engine.ResultCyclesLeft = RefreshSettleCycles;
    if (engine.ThreadDraw)
        engine.ThreadDraw->Resume();
    if (engine.ThreadUpdate)
        engine.ThreadUpdate->Resume();
}

void RefreshResults(TEngine& engine) {
    if (engine.RefreshObjectResults)
        engine.RefreshObjectResults();
    if (engine.RefreshCharts)
        engine.RefreshCharts();
}

TRunMode ModelTick(TEngine& engine) {
    // A tick queued just before the run stopped finds the run stopped and does nothing.
    if (engine.RunMode == rmStopped)
        return rmStopped;
    const bool overflow =
        engine.RunMode == rmRealTime ? RealTimeStep(engine) : IntervalStep(engine, StepTimeBudget);
    if (overflow)
        StopRun(engine);
    else if (engine.RunMode == rmInterval && IntervalEndReached(engine))
        StopRun(engine);
    return engine.RunMode;
}

int ModelThreadCycle(TEngine& engine, THandOver& handOver,
                     const std::function<std::int64_t()>& clock) {
    const std::int64_t start = clock();
    TRunMode mode = rmStopped;
    int period = 0;
    handOver.Run([&] {
        mode = ModelTick(engine);
        period = static_cast<int>(RoundHalfEven(engine.RealTimeTick * 1000));
    });
    const std::int64_t end = clock();
    if (mode == rmRealTime)
        return static_cast<int>(std::max<std::int64_t>(MinRealTimeSleep, period - (end - start)));
    return IntervalRunSleep;
}

int DrawThreadCycle(TEngine& engine, THandOver& handOver) {
    // The decision to pause is taken on the interface thread, where refresh requests are made,
    // so a request cannot fall between the decision and the pause.
    std::int64_t frameMs = 0;
    handOver.Run([&] {
        const std::int64_t start = TickCount();
        if (engine.DrawWork)
            engine.DrawWork();
        frameMs = TickCount() - start;
        const bool animating = AnyFadeInProgress(engine, engine.Graph.FrameTime);
        if (!KeepRefreshing(engine, engine.DrawCyclesLeft, animating) && engine.ThreadDraw)
            engine.ThreadDraw->Pause();
    });
    // A frame slower than the period is followed by a rest as long as it took: frames that
    // cannot keep up are dropped, and the interface thread keeps at least half its time for
    // input however large the net.
    return static_cast<int>(
        std::max<std::int64_t>(DisplayPeriod(engine, engine.DrawPeriod.load()), frameMs));
}

int UpdateThreadCycle(TEngine& engine, THandOver& handOver) {
    handOver.Run([&] {
        RefreshResults(engine);
        if (!KeepRefreshing(engine, engine.ResultCyclesLeft, false) && engine.ThreadUpdate)
            engine.ThreadUpdate->Pause();
    });
    return DisplayPeriod(engine, ResultsPeriod);
}

void StartEngineThreads(TEngine& engine, TPostToInterface post) {
    RequestRefresh(engine); // the first frame and results
    engine.HandOver = std::make_unique<THandOver>(std::move(post));
    THandOver* handOver = engine.HandOver.get();
    engine.ThreadDraw = std::make_unique<TWorkerThread>(
        [&engine, handOver] { return DrawThreadCycle(engine, *handOver); }, false, false);
    engine.ThreadModel = std::make_unique<TWorkerThread>(
        [&engine, handOver] { return ModelThreadCycle(engine, *handOver, TickCount); }, true, true);
    engine.IsAlive = true;
}

void StartUpdateThread(TEngine& engine) {
    THandOver* handOver = engine.HandOver.get();
    engine.ThreadUpdate = std::make_unique<TWorkerThread>(
        [&engine, handOver] { return UpdateThreadCycle(engine, *handOver); }, false, false);
    RequestRefresh(engine);
}

void StopEngineThreads(TEngine& engine) {
    engine.IsAlive = false;
    if (engine.HandOver)
        engine.HandOver->Release();
    for (auto* thread : {&engine.ThreadUpdate, &engine.ThreadModel, &engine.ThreadDraw})
        if (*thread) {
            (*thread)->Stop();
            thread->reset();
        }
    engine.HandOver.reset();
}

void SetScreenUpdateInterval(TEngine& engine, std::int32_t milliseconds) {
    engine.Graph.Options.ScreenUpdateInterval = std::max<std::int32_t>(1, milliseconds);
    engine.DrawPeriod = engine.Graph.Options.ScreenUpdateInterval;
    if (engine.ScreenIntervalChanged)
        engine.ScreenIntervalChanged(engine.Graph.Options.ScreenUpdateInterval);
}
