// The batch run of kvl-sim: one interval from the current model time, carried out with no
// sleeping and no wall-clock budget, so that a run from a seed gives the same result anywhere.
#pragma once

#include "Engine.h"

#include <atomic>
#include <exception>

// A simulation step with the signature of SimulationStep.
using TStepFunction = bool (*)(TEngineNet& net, bool conflictCheck, double startTime, double span,
                               bool flash, TEngine& engine, int budgetMs);

// A run given up because its cancel flag was raised; the engine is left where the run stopped.
class TRunCancelled : public std::exception {
public:
    const char* what() const noexcept override;
};

// Runs the interval in steps of at most IntervalSpanCap, going to the end at once when nothing can
// happen before it. Returns why a step stopped the run, rsNone when it ran to the end.
// With `cancel`, the steps look at the flag every few hundred rounds of launches and completions
// and the run throws TRunCancelled soon after it is raised; a run whose flag stays down gives
// exactly what it gives without one.
TRunStop RunWholeInterval(TEngine& engine, double interval, TStepFunction step,
                          const std::atomic<bool>* cancel = nullptr);
