// Run control: the run mode, the real-time and interval runs that drive SimulationStep over
// time, and the three worker threads that pace them.
#pragma once

#include "Engine.h"

#include <cstdint>
#include <functional>

// Most model time one interval step covers.
constexpr double IntervalSpanCap = 5000000;
constexpr int MinRealTimeSleep = 5; // ms
// Interval steps follow one another at once: each is a separate hand-over, so the event loop
// handles input, redraws and stop requests between two steps.
constexpr int IntervalRunSleep = 0;
constexpr int ResultsPeriod = 25; // ms of the results thread
// During an interval run the canvas and the results are refreshed at most this often (ms), so
// that the run spends its time on the steps.
constexpr int IntervalDisplayPeriod = 250;
constexpr int InitialDrawPeriod = 1000; // ms until the settings give the refresh period
// Cycles the drawing and results threads go on after the last refresh request before they
// pause; so a change made a little after the request (when a modal dialog closes, say) is shown.
constexpr int RefreshSettleCycles = 10;

void StartRealTime(TEngine& engine);
void StopRun(TEngine& engine);
// Starts an interval run of the given length from the current model time.
void RunInterval(TEngine& engine, double length);
// Clears every result and pending launch, sets model time to 0 and stops a run.
void ClearRunHistory(TEngine& engine);

// One real-time step: RealTimeTick x TimeScale of model time, connections flashing.
bool RealTimeStep(TEngine& engine);
// One step of an interval run: up to the interval's end, at most IntervalSpanCap, no flashing.
// Returns true when the run must stop (the cause in Net.StopCause).
bool IntervalStep(TEngine& engine, int budgetMs);
// When nothing can happen before the interval's end (no transition enabled, no pending
// completion due by then) and more than one span is left, moves model time to the end at once,
// exactly where the spans would have taken it, and returns true.
bool SkipIdleInterval(TEngine& engine);
// Whether model time has reached the interval's end, taken on the 1e-8 grid of the step.
bool IntervalEndReached(const TEngine& engine);
// Something the canvas or the results show may have changed (an edit, input, a run starting or
// stopping): wakes the drawing and results threads for RefreshSettleCycles cycles more. Between
// requests, with no run under way and no fade to show, they pause, so an idle editor does no
// work. Call it on the interface thread or before the threads start.
void RequestRefresh(TEngine& engine);
// Calls the result displays the program registered.
void RefreshResults(TEngine& engine);

// The work of the model thread on the interface thread: one step of the current run; an
// overflow stops the run, and an interval run that reached its end stops and pauses the thread.
// Returns the run mode after it.
TRunMode ModelTick(TEngine& engine);

// One cycle of each worker: hand the work over, then return the milliseconds to sleep. The clock
// is passed in so that the pacing can be tested without waiting. The drawing and results cycles
// pause their own thread when nothing more is to be shown (see RequestRefresh). The drawing
// thread hands over one frame at a time and rests at least as long as the frame took, so slow
// frames are dropped rather than queued and the interface thread keeps time for input.
int ModelThreadCycle(TEngine& engine, THandOver& handOver,
                     const std::function<std::int64_t()>& clock);
int DrawThreadCycle(TEngine& engine, THandOver& handOver);
int UpdateThreadCycle(TEngine& engine, THandOver& handOver);

// Creates the hand-over, the drawing thread (running) and the model thread (paused). The
// results thread belongs to the main window: StartUpdateThread.
void StartEngineThreads(TEngine& engine, TPostToInterface post);
void StartUpdateThread(TEngine& engine);
// Releases every hand-over a worker waits in and joins the threads; safe to call twice.
void StopEngineThreads(TEngine& engine);
// Stores the refresh period (at least 1 ms) and passes it to the drawing thread and the program.
void SetScreenUpdateInterval(TEngine& engine, std::int32_t milliseconds);
