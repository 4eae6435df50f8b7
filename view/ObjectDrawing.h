// Drawing of one vertex, transition or connection into the frame, and of the outline of the
// object being created. Each object first tests its box (a connection its segment), enlarged by a
// margin, against the visible model rectangle and is skipped when it lies far outside; then it
// tests its shapes and texts in window pixels against the frame and is skipped when none of them
// can colour a pixel of it.
#pragma once

#include "Engine.h"
#include "Geometry.h"

class QPainter;
class TObjectCanvas;

// Each returns false when the object lay outside the frame and was skipped. An object that
// shows covers the boxes of its pixels on the canvas, and is painted unless the canvas only
// measures.
bool DrawVertex(TVertex& vertex, TObjectCanvas& canvas, const TEngineGraph& graph);
bool DrawTransition(TTransition& transition, TObjectCanvas& canvas, const TEngineGraph& graph);
// A connection near the view first settles its colour (SettleConnectionColor).
bool DrawConnection(TConnection& connection, TObjectCanvas& canvas, TEngine& engine);
// Whether an object is near enough to the view to be drawn.
bool VertexNearView(const TVertex& vertex, const TEngineGraph& graph);
bool TransitionNearView(const TTransition& transition, const TEngineGraph& graph);
// Whether a connection with the ends is near enough to the view to be drawn.
bool ConnectionNearView(const TConnectionEnds& ends, const TEngineGraph& graph);
// Draws a connection near the view whose colour this frame has settled.
bool DrawSettledConnection(TConnection& connection, const TConnectionEnds& ends,
                           TObjectCanvas& canvas, const TEngineGraph& graph);
// The outline of what the waiting creation tool is about to create, at the cursor (pixels).
void DrawCreationGhost(TEngine& engine, QPainter& canvas, int x, int y);

// The parameter text under a transition: "t=1.5±0.2(norm)" and the like (UTF-8).
std::string TransitionParameterText(const TTransition& transition);
