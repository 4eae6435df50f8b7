// The batch simulator's result as JSON: model time, how the run stopped, and every vertex and
// transition with its counters and its statistics over the window [warm-up, model time].
#pragma once

#include "Engine.h"

#include <string>

// `stop` is how the run ended: rsNone for the end of the interval.
std::string SimReportJson(TEngine& engine, double warmUp, TRunStop stop);
