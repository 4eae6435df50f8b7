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
void DrawChartGrid(const TEngineChart& chart, QPainter& canvas);
void DrawMarkingSeries(const TEngine& engine, QPainter& canvas, std::size_t n,
                       const std::string& name, const TVertex& vertex);
void DrawLaunchBar(const TEngine& engine, QPainter& canvas, std::size_t n, const std::string& name,
                   const TTransition& transition);
// Whether a line of the list equals the name exactly.
bool IsNameListed(const std::vector<std::string>& names, const std::string& name);
