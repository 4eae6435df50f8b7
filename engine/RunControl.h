// Run control: the run mode and the interval run that drive SimulationStep over time.
#pragma once

#include "Engine.h"

// Most model time one interval step covers.
constexpr double IntervalSpanCap = 5000000;

// Starts an interval run of length x from the current model time.
void RunInterval(TEngine& engine, double length);
// One step of an interval run: up to the interval's end, at most IntervalSpanCap, no flashing.
// Returns true when a launch buffer overflowed.
bool IntervalStep(TEngine& engine, int budgetMs);
// Whether model time has reached the interval's end, taken on the 1e-8 grid of the step.
bool IntervalEndReached(const TEngine& engine);
void StopRun(TEngine& engine);
