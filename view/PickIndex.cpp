#include "PickIndex.h"

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
    return b.Left >= -kPickIndexReach && b.Top >= -kPickIndexReach && b.Right <= kPickIndexReach &&
           b.Bottom <= kPickIndexReach;
}

// The cell column (or row) of a coordinate, clamped to [-1, count] before the conversion so that
// far values cannot overflow it.
std::int64_t CellNumber(double value, double origin, double cellSize, std::int32_t count) {
    const double cell = std::floor((value - origin) / cellSize);
    return static_cast<std::int64_t>(std::clamp(cell, -1.0, static_cast<double>(count)));
}

TCellRange CellsOf(const TPickIndex& index, const TModelBox& box) {
    TCellRange r;
    r.Column0 =
        std::max<std::int64_t>(0, CellNumber(box.Left, index.Left, index.CellSize, index.Columns));
    r.Row0 = std::max<std::int64_t>(0, CellNumber(box.Top, index.Top, index.CellSize, index.Rows));
    r.Column1 = std::min<std::int64_t>(
        index.Columns - 1, CellNumber(box.Right, index.Left, index.CellSize, index.Columns));
    r.Row1 = std::min<std::int64_t>(index.Rows - 1,
                                    CellNumber(box.Bottom, index.Top, index.CellSize, index.Rows));
    return r;
}

// Fills the cells of one kind from the boxes of its objects, taken in array order so that each
// cell lists its objects in ascending positions. The vectors keep their memory from the last
// build.
void FillCells(TPickCells& cells, TPickIndex& index, const std::vector<TModelBox>& boxes) {
    const std::size_t cellCount =
        static_cast<std::size_t>(index.Columns) * static_cast<std::size_t>(index.Rows);
    // An empty range sends the object to the list every query takes.
    std::vector<TCellRange>& ranges = index.Ranges;
    ranges.resize(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        ranges[i] = cellCount == 0 || !IsNear(boxes[i]) ? TCellRange{} : CellsOf(index, boxes[i]);
        if (ranges[i].Cells() > kMostCellsPerObject)
            ranges[i] = TCellRange{};
    }
    // Counts each cell's objects at the next cell's start, sums them up, then fills each cell
    // moving its start forward to the next one's, and finally shifts the starts back by one.
    cells.CellStart.assign(cellCount + 1, 0);
    cells.Everywhere.clear();
    auto forCells = [&](const TCellRange& range, auto&& visit) {
        for (std::int64_t row = range.Row0; row <= range.Row1; ++row)
            for (std::int64_t column = range.Column0; column <= range.Column1; ++column)
                visit(static_cast<std::size_t>(row * index.Columns + column));
    };
    for (const TCellRange& range : ranges)
        forCells(range, [&](std::size_t cell) { ++cells.CellStart[cell + 1]; });
    std::partial_sum(cells.CellStart.begin(), cells.CellStart.end(), cells.CellStart.begin());
    cells.Items.resize(cells.CellStart.back());
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        const auto position = static_cast<std::int32_t>(i);
        if (ranges[i].Empty())
            cells.Everywhere.push_back(position);
        else
            forCells(ranges[i],
                     [&](std::size_t cell) { cells.Items[cells.CellStart[cell]++] = position; });
    }
    std::copy_backward(cells.CellStart.begin(), cells.CellStart.end() - 1, cells.CellStart.end());
    cells.CellStart[0] = 0;
}

template <typename Object, typename BoxOf>
void BoxesOf(std::vector<TModelBox>& boxes, const std::vector<std::unique_ptr<Object>>& objects,
             BoxOf boxOf) {
    boxes.resize(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i)
        boxes[i] = boxOf(*objects[i]);
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
    // The ends (ConnectionEnds) lie on the vertex's circle, rounded, and at the transition's
    // side, moved up or down by less than 0.7 of the vertex's radius or of the transition's
    // height; bounding them so spares the angles. A hit point lies within Width + 15 (rounded)
    // of a point of the ray from the start at most length + 2 Width (rounded) from it, so within
    // 3 Width + 17 of the ends' box; a few units more cover the rounding of the angle.
    const TVertex& v = *c.Vertex;
    const TTransition& t = *c.Transition;
    const double radius = std::abs(static_cast<double>(v.Radius)) + 1;
    const double side = std::abs(static_cast<double>(RoundToInt(t.Width * 0.8)));
    const double slide = std::max(std::abs(v.Radius * 0.7), std::abs(t.Height * 0.7)) + 1;
    const double margin = 3.0 * std::max(0.0, static_cast<double>(c.Width)) + 24.0;
    return {
        std::min(v.X - radius, t.X - side) - margin, std::min(v.Y - radius, t.Y - slide) - margin,
        std::max(v.X + radius, t.X + side) + margin, std::max(v.Y + radius, t.Y + slide) + margin};
}

void BuildPickIndex(TPickIndex& index, const TEngineNet& net) {
    std::vector<TModelBox>& vertices = index.VertexBoxes;
    std::vector<TModelBox>& transitions = index.TransitionBoxes;
    std::vector<TModelBox>& connections = index.ConnectionBoxes;
    BoxesOf(vertices, net.Vertices, VertexPickBox);
    BoxesOf(transitions, net.Transitions, TransitionPickBox);
    BoxesOf(connections, net.Connections, ConnectionPickBox);

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
        double cellSize =
            std::max({1.0, nodes > 0 ? extent / nodes : 1.0, std::sqrt(width * height / near)});
        const double mostCells = kCellsPerObject * near + kSpareCells;
        while ((std::floor(width / cellSize) + 1) * (std::floor(height / cellSize) + 1) > mostCells)
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
