// Fingerprints of what decides each object's pixels in a frame: places, sizes, texts and the
// colours of the frame's tick. Two frames of one view in which an object has the same look show
// it with the same pixels.
#pragma once

#include "Engine.h"

#include <cstdint>

// The look of an object far from the view, which draws nothing.
constexpr std::uint64_t kUnseenLook = 0;

// A vertex or transition near the view ends its fades that are over, as drawing it would.
std::uint64_t VertexLook(TVertex& vertex, const TEngineGraph& graph);
std::uint64_t TransitionLook(TTransition& transition, const TEngineGraph& graph);
// A connection near the view first settles its colour, as drawing it would; this is the only
// place a frame drawn through the object layer settles it.
std::uint64_t ConnectionLook(TConnection& connection, TEngine& engine);
