// The histories of monitored objects as a CSV table: a time column, then one column per object
// holding its marking (vertex) or launch-buffer length (transition) at each time.
#pragma once

#include "Engine.h"

#include <string>
#include <vector>

// One column of the table: the object's name (Windows-1251, as the net holds it), whether it is
// a transition, and its history.
struct THistoryColumn {
    std::string Name;
    bool IsTransition = false;
    const HistoryList* History = nullptr;
};

// The columns of the monitored vertices, then of the monitored transitions, in net order.
std::vector<THistoryColumn> MonitoredHistoryColumns(const TEngine& engine);

// The headers of the columns in UTF-8, unique among themselves and distinct from "time": a
// transition whose name a vertex has too is marked " (перехід)", and a name met again gets
// " (2)", " (3)"...
std::vector<std::string> HistoryHeaders(const std::vector<THistoryColumn>& columns);

// One row per time at which any column's history has a sample, in increasing order. A column
// holds the value of its last sample at or before the row's time (after compaction, a
// stretch's mean, as the sample holds it), and is empty before its first sample.
std::string HistoryColumnsCsv(const std::vector<THistoryColumn>& columns);

// The table of every monitored object's history.
std::string HistoryCsv(const TEngine& engine);
