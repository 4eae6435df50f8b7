// Production-line nets of a chosen size for benchmarks and tests: rows of stations laid out on a
// grid. Each row starts with a source (a vertex keeping its token and a transition putting a
// part into the first buffer), then stations follow, each a buffer vertex and a machine
// transition feeding the next buffer; the last machine puts parts into the row's output vertex.
// Arrivals and machines have exponential delays; every object has a Ukrainian name.
#pragma once

#include "Engine.h"

struct TProductionLineShape {
    int Rows = 0;
    int Stations = 0; // per row
};

// Model units between a vertex and the transition after it, and so half a station: at 100 % zoom
// the names above two neighbours do not overlap.
constexpr int ProductionLineStep = 800;
// Model units between two rows.
constexpr int ProductionLineRowPitch = 1000;

// Vertices + transitions + connections of a line of this shape.
int ProductionLineObjects(TProductionLineShape shape);
// A shape of at most `objects` objects (of at least one station a row) and near it, about 1.6
// times as wide as tall (the shape of a 1280 x 800 window), so that zoom to fit shows it filling
// the view.
TProductionLineShape ProductionLineShapeFor(int objects);
// Appends the line to the engine's net, rows from the top, the first station's buffer at
// x = 0. Names: Джерело_R, Надходження_R, Буфер_R_S, Верстат_R_S, Готово_R (R, S from 1).
void BuildProductionLine(TEngine& engine, TProductionLineShape shape);
