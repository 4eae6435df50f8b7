// The view onto the model plane: coordinate conversion, zoom and pan, and the positions of the
// grid lines and time-line marks. Plain arithmetic, so that drawing and picking share it and
// tests check it without a window.
#pragma once

#include "EngineGraph.h"
#include "Geometry.h"

#include <string>
#include <vector>

TPoint ModelToScreen(const TEngineGraph& graph, std::int32_t mx, std::int32_t my);
TPoint ScreenToModel(const TEngineGraph& graph, std::int32_t sx, std::int32_t sy);

// One step of the zoom buttons and the wheel: x1.15 in, /1.15 out, within the scale limits.
void ZoomStep(TEngineGraph& graph, bool zoomIn);
// The same step keeping the model point under the window pixel (x, y) where it is: the wheel
// zooms about the mouse cursor.
void ZoomStepAt(TEngineGraph& graph, bool zoomIn, std::int32_t x, std::int32_t y);
// Zoom by vertical mouse travel with both buttons held: down zooms out.
void DragZoom(TEngineGraph& graph, std::int32_t dy);
// Moves the view by a mouse travel in pixels so that the net follows the mouse.
void Pan(TEngineGraph& graph, std::int32_t dx, std::int32_t dy);
// " Масштаб: 100%" (UTF-8).
std::string ZoomText(const TEngineGraph& graph);
// Whether a grid level is drawn at the graph's scale (both levels at a shared bound).
bool IsGridLevelShown(const TEngineGraphGridLevel& level, double scale);
// Model units between the finest grid lines drawn at the graph's scale; with no level shown,
// the units of about ten pixels. The arrow keys move the chosen objects by this step.
std::int32_t GridStep(const TEngineGraph& graph);

struct TScreenLine {
    TPoint From;
    TPoint To;
};

struct TGridLines {
    std::vector<TScreenLine> Axes;  // drawn 2 pixels wide
    std::vector<TScreenLine> Lines; // drawn 1 pixel wide
};

// The lines of the grid in the window, starting every run at the first visible multiple.
TGridLines GridLines(const TEngineGraph& graph);

struct TTimeLineMark {
    std::int32_t X = 0;
    bool Short = false; // the half-way ticks carry no label
    double Value = 0;   // model time of a labelled tick
};

// Pixels between two labelled ticks of the time line.
constexpr std::int32_t kTimeLineSpacing = 60;

// The marks of the time line for a window `width` pixels wide at model time t, a labelled tick
// every kTimeLineSpacing pixels meaning `timeScale` units; the first mark is the one nearest the
// centre.
std::vector<TTimeLineMark> TimeLineMarks(std::int32_t width, double modelTime, double timeScale);

// Every how many labelled ticks a label is written, so that labels `labelWidth` pixels wide stand
// at least `gap` pixels apart: 1, 2, 5, 10, 20, 50... At large model times the labels grow long
// and would otherwise run together.
std::int32_t TimeLineLabelStride(std::int32_t labelWidth, std::int32_t gap);
// Whether the tick at model time `value` carries its label: the ticks at multiples of
// `stride` x `timeScale`, so that the labelled ticks stay put while the line moves.
bool IsTimeLineLabelShown(double value, double timeScale, std::int32_t stride);
