// Switching statistics on and off for one object, and recording the samples of its history.
#pragma once

#include "HistoryCompact.h"
#include "IntegerMath.h"
#include "LaunchBuffer.h"
#include "NetRecords.h"

#include <algorithm>

#include <cstdint>

struct TEngine;

// The settings that decide whether and how far histories are compacted.
struct THistorySettings {
    bool DoVertexHistorySimple = true;
    std::int32_t VertexHistoryNormal = 2000;
    bool DoTransitionHistorySimple = true;
    std::int32_t TransitionHistoryNormal = 2000;
    double WarmUpInterval = 0; // compaction keeps the running totals at this time exact
};

THistorySettings HistorySettingsOf(const TEngine& engine);

// Begins statistics at `time` with a first sample of the current value; no effect when the
// object is monitored already.
void StartMonitoring(TVertex& vertex, double time);
void StartMonitoring(TTransition& transition, double time);
// Ends statistics, frees the history and zeroes the counters; no effect when not monitored.
void StopMonitoring(TVertex& vertex);
void StopMonitoring(TTransition& transition);

// The marking the user typed for a monitored vertex; counted in no counter, never compacted.
void RecordUserMarking(TVertex& vertex, double modelTime);

// Empties every history and counter while monitoring goes on; vertex minima and maxima restart
// at the current marking.
void ClearResults(TEngineNet& net);

// A change of a monitored vertex's marking by a launch or a completion; `received` is the number
// of tokens a completion added (0 for launches). Inline, as it runs for every such change.
inline void RecordVertexSample(TVertex& vertex, double time, std::int32_t received,
                               const THistorySettings& settings) {
    HistoryAdd(vertex.History, hmAccumulate, received, vertex.Marking, time);
    vertex.ChangeCount = WrapAdd(vertex.ChangeCount, 1);
    if (received > 0)
        vertex.ReceivedTotal = WrapAdd(vertex.ReceivedTotal, received);
    vertex.MinMarking = std::min(vertex.MinMarking, vertex.Marking);
    vertex.MaxMarking = std::max(vertex.MaxMarking, vertex.Marking);
    // The test before the call spares a call per sample; HistoryCompact decides exactly.
    if (settings.DoVertexHistorySimple &&
        !(2.05 * settings.VertexHistoryNormal > vertex.History.Count()))
        HistoryCompact(vertex, settings.VertexHistoryNormal, settings.WarmUpInterval);
}

// A change of a monitored transition's launch buffer.
inline void RecordTransitionSample(TTransition& transition, double time,
                                   const THistorySettings& settings) {
    const std::int32_t length = BufferCount(transition.LaunchBuffer);
    HistoryAdd(transition.History, hmBusy, 0, length, time);
    transition.LaunchCount = WrapAdd(transition.LaunchCount, 1);
    transition.MinBuffer = std::min(transition.MinBuffer, length);
    transition.MaxBuffer = std::max(transition.MaxBuffer, length);
    if (settings.DoTransitionHistorySimple &&
        !(2.05 * settings.TransitionHistoryNormal > transition.History.Count()))
        HistoryCompact(transition, settings.TransitionHistoryNormal, settings.WarmUpInterval);
}
