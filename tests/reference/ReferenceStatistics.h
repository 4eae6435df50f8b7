// Window statistics by walking the samples of a history that was never compacted.
#pragma once

#include "Statistics.h"

namespace reference {

TVertexStats WalkVertexWindowStats(const TVertex& vertex, double windowStart, double windowEnd);
TTransitionStats WalkTransitionWindowStats(const TTransition& transition, double windowStart,
                                           double windowEnd, bool busyWanted);

} // namespace reference
