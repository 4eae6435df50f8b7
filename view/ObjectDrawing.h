// Drawing of one vertex, transition or connection into the frame, and of the outline of the
// object being created. Each object first tests its box (a connection its segment), enlarged by a
// margin, against the visible model rectangle and is skipped when it lies far outside; then it
// tests its shapes and texts in window pixels against the frame and is skipped when none of them
// can colour a pixel of it.
#pragma once

#include "Engine.h"

class QPainter;
class TObjectCanvas;

// Each returns false when the object lay outside the frame and was skipped.
bool DrawVertex(TVertex& vertex, TObjectCanvas& canvas, const TEngineGraph& graph);
bool DrawTransition(TTransition& transition, TObjectCanvas& canvas, const TEngineGraph& graph);
bool DrawConnection(TConnection& connection, TObjectCanvas& canvas, TEngine& engine);
// The outline of what the waiting creation tool is about to create, at the cursor (pixels).
void DrawCreationGhost(TEngine& engine, QPainter& canvas, int x, int y);

// The parameter text under a transition: "t=1.5±0.2(norm)" and the like (UTF-8).
std::string TransitionParameterText(const TTransition& transition);
