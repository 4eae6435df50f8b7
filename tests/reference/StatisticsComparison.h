// The window statistics of whole nets compared: a compacted run against the same run kept whole,
// and the figures read from running totals against a walk over the samples.
#pragma once

#include "NetRecords.h"

#include <string>

// Every vertex's and transition's statistics over [start, end], bit for bit; empty when equal.
std::string StatisticsDifference(const TEngineNet& compacted, const TEngineNet& whole, double start,
                                 double end);

// The engine's statistics of a never compacted net against the walk over its samples: counts and
// extremes exactly, reals to 1e-9 relative beyond the rounding a difference of running totals
// carries. Empty when they agree.
std::string WalkDifference(const TEngineNet& whole, double start, double end);
