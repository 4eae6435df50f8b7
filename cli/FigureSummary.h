// The summary of one figure of one object over the replications of a study point, and the
// text of a sweep value: what the written results and the editor's results view both show.
#pragma once

#include "Study.h"
#include "StudySummary.h"

#include <optional>
#include <string>
#include <vector>

// The values the rows have for figure `figure` of object `object` of a kind, in row order.
std::vector<double> FigureValues(const std::vector<TRunFigures>& rows, bool isVertex,
                                 std::size_t object, std::size_t figure);

// The summary of those values at the study's confidence.
TSummary SummarizeFigure(const TStudyHeader& header, const std::vector<TRunFigures>& rows,
                         bool isVertex, std::size_t object, std::size_t figure);

// Sweep value `point` as text (numbers as written, texts without their JSON quotes); empty
// without a sweep.
std::string SweepValueText(const TStudyHeader& header, std::size_t point);
// The sweep value as a number, when it is one.
std::optional<double> SweepValueNumber(const TStudyHeader& header, std::size_t point);
