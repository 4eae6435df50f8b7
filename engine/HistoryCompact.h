// The compaction of histories: a long history becomes interval means that keep the statistics
// exact where they are asked for.
#pragma once

#include "NetRecords.h"

#include <cstdint>

// Replaces a history of at least 2.05 * normal samples by at most normal + 1 samples: interval
// means between kept samples, then the last sample. Nothing happens for shorter histories or a
// normal below 1. The running totals stay exact at every kept sample, and at warmUpTime when it
// lies inside the history where the values are still the real ones.
void HistoryCompact(TVertex& vertex, std::int32_t normal, double warmUpTime = 0);
void HistoryCompact(TTransition& transition, std::int32_t normal, double warmUpTime = 0);
