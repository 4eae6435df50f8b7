#include "Engine.h"

#include "Clock.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "RunControl.h"

void InitEngine(TEngine& engine) {
    DetectDecimalSeparator();

    engine.Defaults = TEngineDefaults{};
    const TEngineDefaults& d = engine.Defaults;
    engine.ConflictCheck = d.ConflictCheck;
    engine.RealTimeTick = 0.04;
    engine.MinTimeScale = 0.000001;
    engine.MaxTimeScale = 1000000;
    engine.TimeLineEnabled = d.TimeLineEnabled;
    engine.GridEnabled = d.GridEnabled;
    engine.DoVertexHistorySimple = d.DoVertexHistorySimple;
    engine.DoTransitionHistorySimple = d.DoTransitionHistorySimple;
    engine.BaseVertexMark = d.BaseVertexMark;
    engine.VertexHistoryNormal = d.VertexHistoryNormal;
    engine.TransitionHistoryNormal = d.TransitionHistoryNormal;
    engine.BaseTransitionDelay = d.BaseTransitionDelay;
    engine.Graph = TEngineGraph{};
    ApplyGraphDefaults(engine.Graph.Options, d);
    engine.Graph.Options.GridOptions = DefaultGridOptions();
    engine.Graph.FrameTime = static_cast<std::int32_t>(TickCount());
    engine.Chart = TEngineChart{};
    engine.Chart.ChartGrid = DefaultChartGrid();

    NewNet(engine);
    engine.EditMode = emIdle;
    engine.RunMode = rmStopped;
    engine.TimeScale = 1.0;
}

TEngine::~TEngine() {
    StopEngineThreads(*this);
}
