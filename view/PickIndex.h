// The picking index: a uniform grid of model-space cells listing, for every cell, the objects
// whose pick areas meet it, so that a hit test or a rubber band on a net of many thousands of
// objects looks at a few candidates instead of every object. The index only narrows the search:
// the exact tests of Picking.cpp decide, over the candidates in the same order as over the whole
// arrays, so picking gives what walking every object gives.
#pragma once

#include "NetRecords.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The cells from (Column0, Row0) to (Column1, Row1); the default range is empty.
struct TCellRange {
    std::int64_t Column0 = 0, Row0 = 0, Column1 = -1, Row1 = -1;
    bool Empty() const { return Column0 > Column1 || Row0 > Row1; }
    double Cells() const {
        return Empty() ? 0
                       : static_cast<double>(Column1 - Column0 + 1) *
                             static_cast<double>(Row1 - Row0 + 1);
    }
};

// A rectangle of the model plane, edges included.
struct TModelBox {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// The boxes that hold every point where the object can be hit and every band it can fall in.
TModelBox VertexPickBox(const TVertex& vertex);
TModelBox TransitionPickBox(const TTransition& transition);
TModelBox ConnectionPickBox(const TConnection& connection);

// Model points farther out than this are left to the walk over every object: the exact tests
// round distances to 32-bit integers, and the grid is only trusted where none can overflow.
constexpr double kPickIndexReach = 536870912.0; // 2^29

// The objects of one kind. Cell c lists positions Items[CellStart[c]] .. Items[CellStart[c + 1]]
// in ascending order; the objects whose boxes are too large or too far out for the grid are in
// Everywhere, which every query takes. No object is in both.
struct TPickCells {
    std::vector<std::uint32_t> CellStart;
    std::vector<std::int32_t> Items;
    std::vector<std::int32_t> Everywhere;
};

struct TPickIndex {
    // What the index was built from: it is current while all of these still hold.
    const TEngineNet* Net = nullptr;
    std::uint64_t Revision = 0;
    std::size_t VertexCount = 0;
    std::size_t TransitionCount = 0;
    std::size_t ConnectionCount = 0;

    // Cell (column, row) covers [Left + column * CellSize, Left + (column + 1) * CellSize).
    double Left = 0;
    double Top = 0;
    double CellSize = 1;
    std::int32_t Columns = 0;
    std::int32_t Rows = 0;

    TPickCells Vertices;
    TPickCells Transitions;
    TPickCells Connections;

    // The objects' boxes at the last build, kept so that a rebuild reuses their memory.
    std::vector<TModelBox> VertexBoxes;
    std::vector<TModelBox> TransitionBoxes;
    std::vector<TModelBox> ConnectionBoxes;
    std::vector<TCellRange> Ranges;
};

// Builds the index of the net anew.
void BuildPickIndex(TPickIndex& index, const TEngineNet& net);
// Whether the index describes the net as it is now.
bool IsPickIndexCurrent(const TPickIndex& index, const TEngineNet& net);
// The index the net holds, built first when the net changed since the last build.
const TPickIndex& CurrentPickIndex(const TEngineNet& net);

// The cell of a model point, or -1 outside the grid.
std::int32_t CellAt(const TPickIndex& index, double x, double y);

// Offers the candidates at the cell (or none with -1) from the last position to the first until
// `hit` accepts one; returns its position, or -1.
template <typename Hit>
std::int32_t LastHitAt(const TPickCells& cells, std::int32_t cell, Hit&& hit) {
    const std::int32_t* local = nullptr;
    std::size_t localLeft = 0;
    if (cell >= 0) {
        local = cells.Items.data() + cells.CellStart[static_cast<std::size_t>(cell)];
        localLeft = cells.CellStart[static_cast<std::size_t>(cell) + 1] -
                    cells.CellStart[static_cast<std::size_t>(cell)];
    }
    const std::int32_t* everywhere = cells.Everywhere.data();
    std::size_t everywhereLeft = cells.Everywhere.size();
    while (localLeft > 0 || everywhereLeft > 0) {
        std::int32_t next;
        if (everywhereLeft == 0 ||
            (localLeft > 0 && local[localLeft - 1] > everywhere[everywhereLeft - 1]))
            next = local[--localLeft];
        else
            next = everywhere[--everywhereLeft];
        if (hit(next))
            return next;
    }
    return -1;
}

// The positions of the objects whose boxes may meet the box, ascending, each once; `count` is
// the size of the kind's array.
std::vector<std::int32_t> CandidatesIn(const TPickIndex& index, const TPickCells& cells,
                                       std::size_t count, const TModelBox& box);
