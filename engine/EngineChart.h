// The state of the chart window: where it looks, its zoom and axis scales, its grid levels,
// colours and the colours of its series. Plain data; the drawing lives in results/.
#pragma once

#include "EngineChartSummary.h"
#include "EngineGraph.h"
#include "EngineTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

// What the chart draws for each listed name.
enum TChartType : std::uint8_t {
    chVertexMarkings = 0,     // the marking history of a vertex, as a line
    chTransitionLaunches = 1, // the launch count of a transition, as a bar
};

struct TEngineChart {
    std::int32_t ChartCenterX = 0;
    std::int32_t ChartCenterY = 0;
    std::int32_t ChartWidth = 0;
    std::int32_t ChartHeight = 0;
    double ChartZoom = 1.0; // pixels per chart unit
    double ScaleX = 10.0;   // chart units per model time unit
    double ScaleY = 10.0;   // chart units per token or count
    TEngineGraphGridOptions ChartGrid;
    TColor ChartBackColor = MakeColor(180, 180, 180);
    TColor ChartAxisColor = MakeColor(150, 150, 150);
    double MinChartZoom = 0.0003;
    double MaxChartZoom = 1.0;
    std::shared_ptr<TFrameImage> ChartBitmap;
    std::shared_ptr<TFrameImage> ChartScreenBitmap;
    TChartType ChartType = chVertexMarkings;
    std::vector<TColor> SeriesColors{MakeColor(150, 0, 0), MakeColor(0, 150, 0),
                                     MakeColor(0, 0, 150)};
    std::vector<TChartSeriesSummary> Summaries; // of the marking series of the last redraw
};

// The twelve grid levels: steps of 80 chart units doubling as the zoom halves.
TEngineGraphGridOptions DefaultChartGrid();

struct TChartPoint {
    double X = 0;
    double Y = 0;
};

// Chart coordinates to bitmap pixels (rounded) and back (not rounded).
TChartPoint ChartToPixel(const TEngineChart& chart, double x, double y);
TChartPoint PixelToChart(const TEngineChart& chart, double px, double py);
// Zoom by vertical mouse travel: down zooms out; clamped to the zoom limits.
void ChartDragZoom(TEngineChart& chart, std::int32_t dy);
void ChartPan(TEngineChart& chart, std::int32_t dx, std::int32_t dy);
