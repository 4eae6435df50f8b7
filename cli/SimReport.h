// The batch simulator's result of a single run as JSON: model time, how the run stopped, and
// every vertex and transition with its counters and its statistics over the window
// [warm-up, model time].
#pragma once

#include "RunFigures.h"

#include <filesystem>
#include <string>

std::string SimReportJson(const TRunFigures& figures);
// The same for the engine's net now; `stop` is how the run ended, rsNone for the end of the
// interval.
std::string SimReportJson(TEngine& engine, double warmUp, TRunStop stop);

// Writes the histories' table (HistoryCsv) to `folder`/history.csv, creating the folder when
// missing, and never leaving a half-written file. On failure prints the reason in Ukrainian on
// standard error and returns false.
bool WriteHistoryFile(const std::filesystem::path& folder, const std::string& csv);
