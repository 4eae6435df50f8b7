// Switching statistics on and off for one object, and recording the samples of its history.
#pragma once

#include "NetRecords.h"

#include <cstdint>

struct TEngine;

// The settings that decide whether and how far histories are compacted.
struct THistorySettings {
    bool DoVertexHistorySimple = true;
    std::int32_t VertexHistoryNormal = 2000;
    bool DoTransitionHistorySimple = true;
    std::int32_t TransitionHistoryNormal = 2000;
};

THistorySettings HistorySettingsOf(const TEngine& engine);

// Begins statistics at `time` with a first sample of the current value; no effect when the
// object is monitored already.
void StartMonitoring(TVertex& vertex, double time);
void StartMonitoring(TTransition& transition, double time);
// Ends statistics, frees the history and zeroes the counters; no effect when not monitored.
void StopMonitoring(TVertex& vertex);
void StopMonitoring(TTransition& transition);

// A change of a monitored vertex's marking by a launch or a completion; `received` is the number
// of tokens a completion added (0 for launches).
void RecordVertexSample(TVertex& vertex, double time, std::int32_t received,
                        const THistorySettings& settings);
// A change of a monitored transition's launch buffer.
void RecordTransitionSample(TTransition& transition, double time, const THistorySettings& settings);
// The marking the user typed for a monitored vertex; counted in no counter, never compacted.
void RecordUserMarking(TVertex& vertex, double modelTime);

// Empties every history and counter while monitoring goes on; vertex minima and maxima restart
// at the current marking.
void ClearResults(TEngineNet& net);
