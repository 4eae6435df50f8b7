#include "PickIndex.h"

#include "Geometry.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// An object whose box spans more cells than this is kept in the list every query takes rather
// than in each cell: a long connection across the net would otherwise fill thousands of cells.
constexpr double kMostCellsPerObject = 64;
// The grid has at most this many cells per object, plus a few for a tiny net.
constexpr double kCellsPerObject = 2;
constexpr double kSpareCells = 1024;

TModelBox Around(double x, double y, double halfWidth, double halfHeight) {
    return {x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
}

bool IsNear(const TModelBox& b) {
    // Also false for a box with a NaN in it.
    return b.Left >= -kPickIndexReach && b.Top >= -kPickIndexReach &&
           b.Right <= kPickIndexReach && b.Bottom <= kPickIndexReach;
}

// The cell column (or row) of a coordinate, clamped to [-1, count] before the conversion so that
// far values cannot overflow it.
std::int64_t CellNumber(double value, double origin, double cellSize, std::int32_t count) {
    const double cell = std::floor((value - origin) / cellSize);
    return static_cast<std::int64_t>(std::clamp(cell, -1.0, static_cast<double>(count)));
}

struct TCellRange {
    std::int64_t Column0 = 0, Row0 = 0, Column1 = -1, Row1 = -1;
    bool Empty() const { return Column0 > Column1 || Row0 > Row1; }
    double Cells() const {
        return Empty() ? 0
                       : static_cast<double>(Column1 - Column0 + 1) *
                             static_cast<double>(Row1 - Row0 + 1);
    }
};

TCellRange CellsOf(const TPickIndex& index, const TModelBox& box) {
    TCellRange r;
    r.Column0 = std::max<std::int64_t>(0, CellNumber(box.Left, index.Left, index.CellSize,
                                                     index.Columns));
    r.Row0 = std::max<std::int64_t>(0, CellNumber(box.Top, index.Top, index.CellSize, index.Rows));
    r.Column1 = std::min<std::int64_t>(
        index.Columns - 1, CellNumber(box.Right, index.Left, index.CellSize, index.Columns));
    r.Row1 = std::min<std::int64_t>(index.Rows - 1,
                                    CellNumber(box.Bottom, index.Top, index.CellSize, index.Rows));
    return r;
}

// Fills the cells of one kind from the boxes of its objects, taken in array order so that each
// cell lists its objects in ascending positions.
void FillCells(TPickCells& cells, const TPickIndex& index, const std::vector<TModelBox>& boxes) {
    const std::size_t cellCount =
        static_cast<std::size_t>(index.Columns) * static_cast<std::size_t>(index.Rows);
    std::vector<TCellRange> ranges(boxes.size());
    std::vector<bool> everywhere(boxes.size(), false);
    std::vector<std::uint32_t> counts(cellCount + 1, 0);
    cells.Everywhere.clear();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!IsNear(boxes[i]) || cellCount == 0) {
            everywhere[i] = true;
            continue;
        }
        ranges[i] = CellsOf(index, boxes[i]);
        if (ranges[i].Cells() > kMostCellsPerObject) {
            everywhere[i] = true;
            continue;
        }
        for (std::int64_t row = ranges[i].Row0; row <= ranges[i].Row1; ++row)
            for (std::int64_t column = ranges[i].Column0; column <= ranges[i].Column1; ++column)
                ++counts[static_cast<std::size_t>(row * index.Columns + column) + 1];
    }
    std::partial_sum(counts.begin(), counts.end(), counts.begin());
    cells.CellStart = counts;
    cells.Items.assign(counts.back(), 0);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (everywhere[i]) {
            cells.Everywhere.push_back(static_cast<std::int32_t>(i));
            continue;
        }
        for (std::int64_t row = ranges[i].Row0; row <= ranges[i].Row1; ++row)
            for (std::int64_t column = ranges[i].Column0; column <= ranges[i].Column1; ++column)
                cells.Items[counts[static_cast<std::size_t>(row * index.Columns + column)]++] =
                    static_cast<std::int32_t>(i);
    }
}

template <typename Object, typename BoxOf>
std::vector<TModelBox> BoxesOf(const std::vector<std::unique_ptr<Object>>& objects, BoxOf boxOf) {
    std::vector<TModelBox> boxes;
    boxes.reserve(objects.size());
    for (const auto& object : objects)
        boxes.push_back(boxOf(*object));
    return boxes;
}

} // namespace

TModelBox VertexPickBox(const TVertex& v) {
    // A hit lies within the rounded reach, so less than half a unit beyond it; a band takes the
    // vertex by a square of half-side Radius / 1.3, of either sign.
    const double reach = static_cast<double>(v.Radius) + RoundToInt(v.LineWidth / 2.0);
    const double hitHalf = reach >= 0 ? reach + 1 : 0;
    const double half = std::max(hitHalf, std::abs(v.Radius / 1.3));
    return Around(v.X, v.Y, half, half);
}

TModelBox TransitionPickBox(const TTransition& t) {
    const double halfWidth = std::max(std::abs(static_cast<double>(t.Width)), t.Width + 10.0);
    const double halfHeight = std::max(std::abs(static_cast<double>(t.Height)), t.Height + 10.0);
    return Around(t.X, t.Y, halfWidth, halfHeight);
}

TModelBox ConnectionPickBox(const TConnection& c) {
    // A hit point lies within Width + 15 (rounded) of a point of the ray from the start at most
    // length + 2 Width (rounded) from it, so within 3 Width + 17 of the segment's box; a few
    // units more cover the rounding of the angle and the points.
    const TConnectionEnds ends = ConnectionEnds(c);
    const double margin = 3.0 * std::max(0.0, static_cast<double>(c.Width)) + 24.0;
    return {std::min<double>(ends.P1.X, ends.P2.X) - margin,
            std::min<double>(ends.P1.Y, ends.P2.Y) - margin,
            std::max<double>(ends.P1.X, ends.P2.X) + margin,
            std::max<double>(ends.P1.Y, ends.P2.Y) + margin};
}

void BuildPickIndex(TPickIndex& index, const TEngineNet& net) {
    const std::vector<TModelBox> vertices = BoxesOf(net.Vertices, VertexPickBox);
    const std::vector<TModelBox> transitions = BoxesOf(net.Transitions, TransitionPickBox);
    const std::vector<TModelBox> connections = BoxesOf(net.Connections, ConnectionPickBox);

    // The grid covers the near boxes; its cells are about the size of a vertex or a transition,
    // or larger when the objects stand sparse.
    double left = kPickIndexReach, top = kPickIndexReach;
    double right = -kPickIndexReach, bottom = -kPickIndexReach;
    double extent = 0;
    double nodes = 0;
    double near = 0;
    for (const auto* boxes : {&vertices, &transitions, &connections})
        for (const TModelBox& b : *boxes) {
            if (!IsNear(b))
                continue;
            left = std::min(left, b.Left);
            top = std::min(top, b.Top);
            right = std::max(right, b.Right);
            bottom = std::max(bottom, b.Bottom);
            near += 1;
            if (boxes != &connections) {
                extent += (b.Right - b.Left) + (b.Bottom - b.Top);
                nodes += 2;
            }
        }
    index.Left = left;
    index.Top = top;
    index.Columns = 0;
    index.Rows = 0;
    if (near > 0) {
        const double width = right - left;
        const double height = bottom - top;
        double cellSize = std::max({1.0, nodes > 0 ? extent / nodes : 1.0,
                                    std::sqrt(width * height / near)});
        const double mostCells = kCellsPerObject * near + kSpareCells;
        while ((std::floor(width / cellSize) + 1) * (std::floor(height / cellSize) + 1) >
               mostCells)
            cellSize *= 1.25;
        index.CellSize = cellSize;
        index.Columns = static_cast<std::int32_t>(std::floor(width / cellSize)) + 1;
        index.Rows = static_cast<std::int32_t>(std::floor(height / cellSize)) + 1;
    }
    FillCells(index.Vertices, index, vertices);
    FillCells(index.Transitions, index, transitions);
    FillCells(index.Connections, index, connections);

    index.Net = &net;
    index.Revision = net.ShapeRevision;
    index.VertexCount = net.Vertices.size();
    index.TransitionCount = net.Transitions.size();
    index.ConnectionCount = net.Connections.size();
}

bool IsPickIndexCurrent(const TPickIndex& index, const TEngineNet& net) {
    return index.Net == &net && index.Revision == net.ShapeRevision &&
           index.VertexCount == net.Vertices.size() &&
           index.TransitionCount == net.Transitions.size() &&
           index.ConnectionCount == net.Connections.size();
}

const TPickIndex& CurrentPickIndex(const TEngineNet& net) {
    if (!net.PickIndex)
        net.PickIndex = std::make_shared<TPickIndex>();
    if (!IsPickIndexCurrent(*net.PickIndex, net))
        BuildPickIndex(*net.PickIndex, net);
    return *net.PickIndex;
}

std::int32_t CellAt(const TPickIndex& index, double x, double y) {
    const std::int64_t column = CellNumber(x, index.Left, index.CellSize, index.Columns);
    const std::int64_t row = CellNumber(y, index.Top, index.CellSize, index.Rows);
    if (column < 0 || row < 0 || column >= index.Columns || row >= index.Rows)
        return -1;
    return static_cast<std::int32_t>(row * index.Columns + column);
}

std::vector<std::int32_t> CandidatesIn(const TPickIndex& index, const TPickCells& cells,
                                       std::size_t count, const TModelBox& box) {
    std::vector<std::int32_t> found;
    const TCellRange range = CellsOf(index, box);
    if (range.Cells() >= static_cast<double>(count)) {
        // A band over much of the net: every object is a candidate, fewer steps than the cells.
        found.resize(count);
        std::iota(found.begin(), found.end(), 0);
        return found;
    }
    found = cells.Everywhere;
    if (!range.Empty())
        for (std::int64_t row = range.Row0; row <= range.Row1; ++row)
            for (std::int64_t column = range.Column0; column <= range.Column1; ++column) {
                const auto cell = static_cast<std::size_t>(row * index.Columns + column);
                found.insert(found.end(), cells.Items.begin() + cells.CellStart[cell],
                             cells.Items.begin() + cells.CellStart[cell + 1]);
            }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}
