// Colour fades of net objects and the flash of a connection that tokens pass through. A fade
// mixes from the colour it started at towards its target over a number of milliseconds and is
// evaluated at the tick of each frame.
#pragma once

#include "NetRecords.h"

#include <cstdint>

struct TEngine;
struct TEngineGraph;

struct TVertexColors {
    TColor Line = 0;
    TColor Fill = 0;
};

// The colour at the tick; a fade that is over ends here.
TVertexColors FadeColor(TVertex& vertex, std::int32_t tick);
TColor FadeColor(TTransition& transition, std::int32_t tick);
TColor FadeColor(TConnection& connection, std::int32_t tick);

// Begins a fade from the current colour, so an interrupted fade continues smoothly.
void StartFade(TVertex& vertex, std::int32_t tick, std::int32_t length, TVertexColors target);
void StartFade(TTransition& transition, std::int32_t tick, std::int32_t length, TColor target);
void StartFade(TConnection& connection, std::int32_t tick, std::int32_t length, TColor target);

// Lights a connection up in the flash colour.
void StartFlash(TConnection& connection, const TEngineGraph& graph);
// Once a connection's last fade is over, fades it back to its state colour: chosen, picked
// or ambient.
void SettleConnectionColor(TConnection& connection, const TEngine& engine);

// Whether a frame drawn at the tick shows some object between two colours, so that the next
// frame would look different: a fade that is under way towards a colour other than its start.
// Connections settle by fading from their colour to the same colour, which changes nothing.
bool AnyFadeInProgress(const TEngine& engine, std::int32_t tick);

// One channel mix of two colours at progress p in (0, 1].
TColor MixColor(TColor from, TColor to, double progress);
