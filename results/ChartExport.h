// What leaves the chart window: its picture (PNG as shown, or SVG drawn by the same functions)
// and the data of its series as a CSV table.
#pragma once

#include "Engine.h"

#include <QByteArray>

#include <string>
#include <vector>

class QString;
class QWidget;

// The name the save dialog of an export suggests: the net file's folder and name with `suffix`
// ("-results.csv"), or "net" with it for a net never saved.
QString ExportNameBesideNet(const TEngine& engine, const QString& suffix);

// Whether any listed name is an object of the chart's kind: what the chart draws a series for.
bool ChartHasSeries(const TEngine& engine, const std::vector<std::string>& names);

// The chart bitmap as the window shows it, at its size, as PNG; empty when there is none.
QByteArray ChartPng(const TEngine& engine);
// The chart for the listed names drawn on an SVG canvas of the chart's size.
QByteArray ChartSvg(TEngine& engine, const std::vector<std::string>& names);

// The series of the listed names: for a marking chart the vertices' histories as columns beside
// a time column (HistoryColumnsCsv, each vertex once); for a launch-count chart one row per
// transition, object,launch_count. UTF-8, a header row.
std::string ChartSeriesCsv(const TEngine& engine, const std::vector<std::string>& names);

// The save dialog and the write of the chart's picture: SVG when the name ends in .svg,
// otherwise PNG. A chart with no series gets a message instead. False when nothing was written.
bool SaveChartPicture(QWidget* parent, TEngine& engine, const std::vector<std::string>& names);
// The same for the chart's series as CSV.
bool SaveChartSeries(QWidget* parent, const TEngine& engine, const std::vector<std::string>& names);
