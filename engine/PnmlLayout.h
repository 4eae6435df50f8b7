// A readable placement for nets whose file gives no positions: the nodes in columns by their
// distance along the arcs from where the net starts, one above another within a column.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct TLayoutPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

// Positions in model units for `nodeCount` nodes joined by the directed arcs (from, to);
// `starts` are the nodes the flow begins at (marked places), looked at before nodes with no arc
// coming in. No two nodes get the same point.
std::vector<TLayoutPoint> LayeredLayout(int nodeCount, const std::vector<std::pair<int, int>>& arcs,
                                        const std::vector<int>& starts);
