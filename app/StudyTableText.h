// What the study results table shows: which figures of which objects, how each figure is
// described, and the mean with its confidence half-width as text.
#pragma once

#include "Study.h"
#include "StudySummary.h"

#include <optional>
#include <string>
#include <vector>

// One row of the table: a figure of an object (positions among the kind's objects and the
// kind's figure specs) and its summary over the replications of a point.
struct TStudyTableRow {
    bool IsVertex = true;
    std::size_t Object = 0;
    std::size_t Figure = 0;
    std::string ObjectName; // UTF-8
    TSummary Summary;
};

// Whether the table shows a figure: a monitored object shows its window statistics and its
// throughput counter (tokens received, launches), an object not monitored only that counter.
// The snapshots at the end of a run (marking, buffer, change count) stay in the CSV.
bool IsTableFigure(bool isVertex, std::size_t figure, bool monitoring);

// The rows of one point whose figures some replication has, vertices first, in net order.
std::vector<TStudyTableRow> StudyTableRows(const TStudyHeader& header,
                                           const std::vector<TRunFigures>& rows);

// "mean — середнє маркування": the key as the CSV names it and what it means (UTF-8).
std::string FigureCaption(bool isVertex, std::size_t figure);
// The Ukrainian description alone.
std::string FigureDescription(bool isVertex, std::size_t figure);

// "3.215 ± 0.071": the half-width rounded to two significant digits and the mean to the same
// place; the mean alone (six significant digits) without a half-width, "… ± 0" with a zero
// one. Ties go to the even digit; the point is always ".".
std::string MeanWithHalfWidth(double mean, const std::optional<double>& halfWidth);
