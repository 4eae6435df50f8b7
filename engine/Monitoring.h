// Switching the gathering of statistics and history on and off for one object.
#pragma once

#include "NetRecords.h"

// Begins statistics at `time` with a first sample of the current value; no effect when the
// object is monitored already.
void StartMonitoring(TVertex& vertex, double time);
void StartMonitoring(TTransition& transition, double time);
// Ends statistics, frees the history and zeroes the counters; no effect when not monitored.
void StopMonitoring(TVertex& vertex);
void StopMonitoring(TTransition& transition);
