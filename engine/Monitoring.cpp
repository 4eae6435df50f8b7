#include "Monitoring.h"

#include "Engine.h"
#include "IntegerMath.h"

#include <algorithm>

THistorySettings HistorySettingsOf(const TEngine& engine) {
    return {engine.DoVertexHistorySimple, engine.VertexHistoryNormal,
            engine.DoTransitionHistorySimple, engine.TransitionHistoryNormal,
            engine.WarmUpInterval};
}

void StartMonitoring(TVertex& vertex, double time) {
    if (vertex.IsMonitoring)
        return;
    vertex.IsMonitoring = true;
    vertex.MinMarking = vertex.Marking;
    vertex.MaxMarking = vertex.Marking;
    HistoryAdd(vertex.History, hmReplace, 0, vertex.Marking, time);
}

void StartMonitoring(TTransition& transition, double time) {
    if (transition.IsMonitoring)
        return;
    const std::int32_t length = BufferCount(transition.LaunchBuffer);
    transition.IsMonitoring = true;
    transition.LaunchCount = 0;
    transition.MinBuffer = length;
    transition.MaxBuffer = length;
    HistoryAdd(transition.History, hmReplace, 0, length, time);
}

void StopMonitoring(TVertex& vertex) {
    if (!vertex.IsMonitoring)
        return;
    vertex.IsMonitoring = false;
    HistoryClear(vertex.History);
    vertex.ChangeCount = 0;
    vertex.ReceivedTotal = 0;
    vertex.MinMarking = 0;
    vertex.MaxMarking = 0;
}

void StopMonitoring(TTransition& transition) {
    if (!transition.IsMonitoring)
        return;
    transition.IsMonitoring = false;
    HistoryClear(transition.History);
    transition.LaunchCount = 0;
    transition.MinBuffer = 0;
    transition.MaxBuffer = 0;
}

void RecordUserMarking(TVertex& vertex, double modelTime) {
    if (!vertex.IsMonitoring)
        return;
    HistoryAdd(vertex.History, hmReplace, 0, vertex.Marking, modelTime);
    vertex.MinMarking = std::min(vertex.MinMarking, vertex.Marking);
    vertex.MaxMarking = std::max(vertex.MaxMarking, vertex.Marking);
}

void ClearResults(TEngineNet& net) {
    for (auto& vertex : net.Vertices) {
        HistoryClear(vertex->History);
        vertex->ChangeCount = 0;
        vertex->ReceivedTotal = 0;
        vertex->MinMarking = vertex->Marking;
        vertex->MaxMarking = vertex->Marking;
    }
    for (auto& transition : net.Transitions) {
        HistoryClear(transition->History);
        transition->LaunchCount = 0;
        transition->MinBuffer = 0;
        transition->MaxBuffer = 0;
    }
}
