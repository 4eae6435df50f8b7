// The batch run of kvl-sim: one interval from the current model time, carried out with no
// sleeping and no wall-clock budget, so that a run from a seed gives the same result anywhere.
#pragma once

#include "Engine.h"

// A simulation step with the signature of SimulationStep.
using TStepFunction = bool (*)(TEngineNet& net, bool conflictCheck, double startTime, double span,
                               bool flash, TEngine& engine, int budgetMs);

// Runs the interval in steps of at most IntervalSpanCap, going to the end at once when nothing can
// happen before it. Returns why a step stopped the run, rsNone when it ran to the end.
TRunStop RunWholeInterval(TEngine& engine, double interval, TStepFunction step);
