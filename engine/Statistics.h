// Time-weighted statistics over a window of model time.
#pragma once

#include "NetRecords.h"

#include <cstdint>

struct TVertexStats {
    bool Success = false;
    std::int32_t MinMarking = 0;
    std::int32_t MaxMarking = 0;
    double Mean = 0;
    double MeanWait = -1; // -1 when no token was received in the window
    double Received = 0;  // tokens received in the window
};

struct TTransitionStats {
    bool Success = false;
    std::int32_t MinBuffer = 0;
    std::int32_t MaxBuffer = 0;
    double Mean = 0;
    double Busy = -1;        // model time the buffer was not empty; -1 when absent
    double BusyPercent = -1; // busy share of the window; -1 with Busy
};

// Statistics of the window [windowStart, windowEnd]. No success means an empty history (or,
// for a transition, a single sample outside the window). The figures are those of the
// uncompacted history whenever each end of the window lies at or after the first sample that
// compaction left as it was, at a kept sample, or (the start) at the warm-up time the history
// was compacted with. An end inside an older merged stretch is interpolated within that
// stretch. The windows of the results panel end now, after every sample.
TVertexStats VertexWindowStats(const TVertex& vertex, double windowStart, double windowEnd);
TTransitionStats TransitionWindowStats(const TTransition& transition, double windowStart,
                                       double windowEnd, bool busyWanted);
