// The results of the monitored objects as a CSV table: one row per object and figure, the same
// figures as kvl-sim prints for the run.
#pragma once

#include "Engine.h"

#include <string>

// Whether any vertex or transition of the net is monitored.
bool HasMonitoredObjects(const TEngine& engine);

// Columns kind,object,statistic,value: every figure of every monitored vertex, then of every
// monitored transition, over the window [warmUp, model time] (TakeFigures), counters
// included. The value is empty where the figure does not exist. UTF-8, a header row.
std::string ResultsCsv(TEngine& engine, double warmUp);
