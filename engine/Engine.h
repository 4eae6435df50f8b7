// The engine record: the whole state of the program in one place.
#pragma once

#include "EngineChart.h"
#include "EngineGraph.h"
#include "EngineSettings.h"
#include "NetBuffer.h"
#include "NetRecords.h"
#include "PickedChoiced.h"
#include "Random.h"
#include "WorkerThreads.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

struct TEngine {
    TEngineDefaults Defaults;

    // Live simulation and editing settings.
    bool ConflictCheck = true;
    double RealTimeTick = 0.04; // wall-clock seconds per real-time step
    double MinTimeScale = 0.000001;
    double MaxTimeScale = 1000000;
    bool TimeLineEnabled = true;
    bool GridEnabled = true;
    bool DoVertexHistorySimple = true;
    bool DoTransitionHistorySimple = true;
    std::int32_t BaseVertexMark = 0;
    std::int32_t VertexHistoryNormal = 2000;
    std::int32_t TransitionHistoryNormal = 2000;
    double BaseTransitionDelay = 0;

    TEngineGraph Graph;
    TEngineChart Chart;
    TEngineNet Net;
    TEngineNetBuffer NetBuffer;

    std::int32_t BandStartX = 0; // start point of a rubber-band selection
    std::int32_t BandStartY = 0;
    TEditMode EditMode = emIdle;

    TEnginePickedChoiced Picked;
    TEnginePickedChoiced Choiced;

    // Run state.
    TRunMode RunMode = rmStopped;
    double WarmUpInterval = 0;
    double TimeScale = 1.0;
    double IntervalLength = 0;
    double IntervalEnd = 0;
    // The generator of this engine's delays, conflict choices and chart colours. InitEngine
    // leaves it as it is: the program seeds it (the editor from the clock, kvl-sim from --seed).
    TRandom Random;
    // Raised by another thread to give up a batch run: a step that sees it returns early,
    // leaving the net in the middle of its span. Read every few hundred rounds, so that a step
    // nobody stops goes exactly as it would without it.
    const std::atomic<bool>* StopRequest = nullptr;
    // The workers of run control (none in tests and the batch simulator unless started).
    std::unique_ptr<THandOver> HandOver;
    std::unique_ptr<TWorkerThread> ThreadDraw;
    std::unique_ptr<TWorkerThread> ThreadModel;
    std::unique_ptr<TWorkerThread> ThreadUpdate;
    std::atomic<int> DrawPeriod{1000}; // ms; read by the drawing thread
    // Cycles the drawing and results threads still run after the last refresh request.
    std::atomic<int> DrawCyclesLeft{0};
    std::atomic<int> ResultCyclesLeft{0};
    bool IsAlive = false; // set when the threads start, cleared at shutdown

    std::filesystem::path FileName; // the net file last loaded or saved; empty for a new net

    // Tells the user something in the middle of the engine's work (UTF-8): the editor shows a
    // message box, the batch simulator prints to stderr. Unset, the message is dropped.
    std::function<void(const std::string&)> ShowMessage;
    // What the drawing thread and the results thread hand over, set by the program.
    std::function<void()> DrawWork;
    std::function<void()> RefreshObjectResults;
    std::function<void()> RefreshCharts;
    // Told the refresh period whenever it changes (the main window's timer follows it).
    std::function<void(std::int32_t)> ScreenIntervalChanged;

    TEngine() = default;
    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;
    ~TEngine();
};

// Builds the engine: detects the locale's decimal separator first, then fills the defaults, the
// live settings from them and the viewport, and leaves an empty net.
void InitEngine(TEngine& engine);
