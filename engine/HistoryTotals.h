// The running totals of a history at any moment: what the window statistics subtract.
#pragma once

#include "History.h"

struct THistoryTotals {
    double Area = 0;           // time integral of the observed quantity from the first sample
                               // (negative before it: the first value is taken as in force there)
    double ReceivedBefore = 0; // vertex histories: tokens received at instants before the moment
    double Busy = 0; // transition histories: busy time from the first sample (0 before it)
    double NextSampleTime = 0; // the time of the first sample at or after the moment: infinite
                               // when none, not a number when unknown (inside a merged stretch)
};

// The totals at `time` of a history holding at least one sample. Between two samples that hold
// the value really in force they are exact; inside a stretch that compaction merged they are
// interpolated in proportion to time (within that stretch's own share), except at the anchored
// warm-up time, which compaction kept exactly. A difference of two totals carries the rounding
// of the totals themselves, so a window much shorter than the time since the first sample gets
// a larger relative rounding error than a sum over its own samples would.
THistoryTotals TotalsAt(const HistoryList& list, double time);

// Position of the last sample at or before `time`; -1 when every sample is later.
std::ptrdiff_t LastSampleAtOrBefore(const HistoryList& list, double time);
// Position of the first sample at or after `time`; Count() when every sample is earlier.
std::ptrdiff_t FirstSampleAtOrAfter(const HistoryList& list, double time);
