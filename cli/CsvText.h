// The text of CSV tables that leave the program: fields quoted where they must be, numbers in
// the shortest text that reads back to the same real, always with a point whatever the locale.
#pragma once

#include "RunFigures.h"

#include <optional>
#include <string>

// The field as it is, or in quotes with its quotes doubled when it holds a comma, a quote or a
// line break.
std::string CsvField(const std::string& utf8);
// The shortest text that reads back to the same real; empty when not finite.
std::string CsvReal(double value);
// A figure: counts without a point, reals as CsvReal; empty when the figure does not exist.
std::string CsvFigure(const std::optional<double>& value, TFigureKind kind);
