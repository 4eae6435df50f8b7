// The batch simulator's result of a single run as JSON: model time, how the run stopped, and
// every vertex and transition with its counters and its statistics over the window
// [warm-up, model time].
#pragma once

#include "RunFigures.h"

#include <string>

std::string SimReportJson(const TRunFigures& figures);
// The same for the engine's net now; `stop` is how the run ended, rsNone for the end of the
// interval.
std::string SimReportJson(TEngine& engine, double warmUp, TRunStop stop);
