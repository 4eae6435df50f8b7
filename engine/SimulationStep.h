// The simulation step: advances the net over a span of model time by alternating launch phases
// and completion phases of the firing rule.
#pragma once

#include "Engine.h"

// Wall-clock milliseconds after which a step returns early, checked once per instant.
constexpr int StepTimeBudget = 50;
// Passed as the budget, the step always runs to the end of its span.
constexpr int NoTimeBudget = -1;

// Advances the net from `startTime` over `span`. Returns true when the run must stop, the message
// shown through engine.ShowMessage and the cause in net.StopCause: a launch buffer overflowed, or
// the net fired more than InstantEventLimit times at one model time (counted across calls, so
// that budgeted steps stop too). Otherwise ModelTime is the span's end on the 1e-8 grid, or the
// last completed instant when the time budget ran out.
bool SimulationStep(TEngineNet& net, bool conflictCheck, double startTime, double span, bool flash,
                    TEngine& engine, int budgetMs = StepTimeBudget);
