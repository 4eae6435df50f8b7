// Drawing of the charts into the chart bitmap: the grid, the marking history of chosen vertices
// as staircase lines, or the launch counts of chosen transitions as bars.
#pragma once

#include "Engine.h"

#include <string>
#include <vector>

class QPainter;

// Gives both chart bitmaps the size and clears the drawing one.
void ResizeChart(TEngineChart& chart, int width, int height);
// Redraws the chart for the listed names (Windows-1251, one object each) and copies it to the
// screen bitmap. Names of no object of the chart's kind are skipped and take no colour.
void DrawChart(TEngine& engine, const std::vector<std::string>& names);
// Draws the same chart on any canvas of the chart's size that holds its background colour: the
// grid, the series (giving new ones their colours), the legend and the frame. Keeps the
// summaries of the series drawn.
void PaintChart(TEngine& engine, QPainter& canvas, const std::vector<std::string>& names);
void DrawChartGrid(const TEngineChart& chart, QPainter& canvas);
// Draws the marking history as a staircase line: each pixel column the history touches gets one
// vertical stroke over the least and greatest value of its samples, and one horizontal stroke
// carries the last value to the next column, which is what the full line would colour there.
// Only the samples whose columns lie within the chart are visited, found by binary search.
// The summary must be up to date with the vertex's history.
void DrawMarkingSeries(const TEngine& engine, QPainter& canvas, std::size_t n,
                       const std::string& name, const TVertex& vertex,
                       const TChartSeriesSummary& summary);
// The same line with two strokes for every sample: what the reduced drawing must match pixel for
// pixel, and the cost it is measured against.
void DrawMarkingSeriesFull(const TEngine& engine, QPainter& canvas, std::size_t n,
                           const std::string& name, const TVertex& vertex);
// The key in the top left corner: a square of each series' colour and its object's name.
void DrawChartLegend(const TEngineChart& chart, QPainter& canvas,
                     const std::vector<std::string>& names);
// Sets the axis scales and centre so that the listed objects' data fills the chart: their
// marking histories from time 0 to the model time, or their launch-count bars.
void FitChartToData(TEngine& engine, const std::vector<std::string>& names);
void DrawLaunchBar(const TEngine& engine, QPainter& canvas, std::size_t n, const std::string& name,
                   const TTransition& transition);
// Whether a line of the list equals the name exactly.
bool IsNameListed(const std::vector<std::string>& names, const std::string& name);
