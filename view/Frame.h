// One frame of the canvas: background, grid, connections, vertices, transitions, the outline of
// an object being created, the rubber band, the time line and a border, drawn into the back
// image and then copied to the front image that the editor window paints. The editor window's
// frames take the background, grid and objects from the kept object layer.
#pragma once

#include "Engine.h"

class QPainter;

// Gives both images the window's client size, at the screen's device pixel ratio, and clears the
// back image.
void ResizeView(TEngineGraph& graph, int width, int height, double devicePixelRatio = 1);
void ClearBackImage(TEngineGraph& graph, TColor color);
void DrawGrid(const TEngineGraph& graph, QPainter& canvas);
void DrawTimeLine(const TEngineGraph& graph, QPainter& canvas, double modelTime, double timeScale);
// Draws a frame at the tick count now, or at the tick (ms) given; fades are evaluated at it.
void DrawFrame(TEngine& engine);
void DrawFrame(TEngine& engine, std::int32_t tick);

// Whether a frame shows the editing aids: the outline of an object being created and the
// rubber band belong on the screen, not in a picture of the net.
enum class TFrameAids { Shown, Hidden };

// Sets the graph's visible model rectangle from its view.
void SetVisibleRectangle(TEngineGraph& graph);
// Draws everything of a frame but its background on the painter, over the graph's view and
// visible rectangle: grid, connections, vertices, transitions, the aids, time line and border.
void DrawFrameOn(TEngine& engine, QPainter& canvas, TFrameAids aids);
// Draws what a frame shows over its objects: the aids, the time line and the border.
void DrawFrameOverlay(TEngine& engine, QPainter& canvas, TFrameAids aids);
