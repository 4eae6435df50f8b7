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

// The longest a cancellable run goes between two looks at its flag (ms of one step).
constexpr int CancelCheckPeriod = 50;

// Runs the interval in steps of at most IntervalSpanCap, going to the end at once when nothing can
// happen before it. Returns why a step stopped the run, rsNone when it ran to the end.
// With `cancel`, each span is run in slices of CancelCheckPeriod ms that end at the span's own
// end, and the flag is read between slices; where a slice ends changes no result. Throws
// TRunCancelled when the flag is up.
TRunStop RunWholeInterval(TEngine& engine, double interval, TStepFunction step,
                          const std::atomic<bool>* cancel = nullptr,
                          int sliceMs = CancelCheckPeriod);
