// The written results of a study: JSON (the default) or CSV, the rows of replications rerun
// alone, and the partial result of one shard that `kvl-sim merge` reads back.
#pragma once

#include "StudyRun.h"

#include <string>

// One replication's figures on one line of JSON: its number, first seed, draws, model time, how
// it stopped, and its vertices and transitions as a single run writes them.
std::string ReplicationRowJson(const TRunFigures& row);

// The whole study; `perReplication` adds every replication's row.
std::string StudyJson(const TStudyHeader& header, const std::vector<TPointResult>& points,
                      bool perReplication);
// Columns value, replication, kind, object, statistic, n, mean, sd, half_width: one row for
// each point, object and figure, and with `perReplication` one for each replication too (its
// number in the replication column, the figure as the mean, n 1 or 0).
std::string StudyCsv(const TStudyHeader& header, const std::vector<TPointResult>& points,
                     bool perReplication);
// The replications run alone (--replication): exactly their rows of the output with
// --per-replication, JSON one a line, or CSV under the column line.
std::string ReplicationRowsText(const TStudyHeader& header, const std::vector<TPointResult>& points,
                                TOutputFormat format);

// The study's settings as the fields of a JSON object, one a line after `indent`.
std::string StudyHeaderJson(const TStudyHeader& header, const std::string& indent);
// A shard's partial result: the study's settings, the shard, and each replication's row.
std::string PartialJson(const TStudyHeader& header, const TShard& shard,
                        const std::vector<TPointResult>& points);

// The replications that drew more numbers than their stream holds, and that stopped before
// the end of the interval, in the order of points and numbers.
struct TStudyProblem {
    std::size_t Point = 0;
    const TRunFigures* Row = nullptr;
};
std::vector<TStudyProblem> StreamOverruns(const TStudyHeader& header,
                                          const std::vector<TPointResult>& points);
std::vector<TStudyProblem> EarlyStops(const std::vector<TPointResult>& points);
