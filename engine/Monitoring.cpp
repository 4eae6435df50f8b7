#include "Monitoring.h"

#include <cstdint>

namespace {

std::int32_t BufferLength(const TTransition& transition) {
    return static_cast<std::int32_t>(transition.LaunchBuffer.Entries.size());
}

} // namespace

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
    transition.IsMonitoring = true;
    transition.LaunchCount = 0;
    transition.MinBuffer = BufferLength(transition);
    transition.MaxBuffer = BufferLength(transition);
    HistoryAdd(transition.History, hmReplace, 0, BufferLength(transition), time);
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
