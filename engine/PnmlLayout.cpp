#include "PnmlLayout.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

// Model units between columns and between rows: room for a place, its name and an arc's count.
constexpr std::int32_t kColumnStep = 1200;
constexpr std::int32_t kRowStep = 1000;
// Model units between the strips of a folded column.
constexpr std::int32_t kStripStep = 900;
// A column folds only beyond this many rows, or more in large nets.
constexpr int kLeastRowLimit = 12;

} // namespace

std::vector<TLayoutPoint> LayeredLayout(int nodeCount, const std::vector<std::pair<int, int>>& arcs,
                                        const std::vector<int>& starts) {
    std::vector<std::vector<int>> next(nodeCount);
    std::vector<std::vector<int>> previous(nodeCount);
    for (const auto& [from, to] : arcs) {
        next[from].push_back(to);
        previous[to].push_back(from);
    }

    // Columns by breadth-first distance; nodes in each column in the order they were reached,
    // which keeps the successors of one node together.
    std::vector<int> layer(nodeCount, -1);
    std::vector<std::vector<int>> columns;
    std::deque<int> queue;
    auto reach = [&](int node, int at) {
        layer[node] = at;
        if (static_cast<int>(columns.size()) <= at)
            columns.resize(at + 1);
        columns[at].push_back(node);
        queue.push_back(node);
    };
    auto spread = [&] {
        while (!queue.empty()) {
            const int node = queue.front();
            queue.pop_front();
            for (int to : next[node])
                if (layer[to] < 0)
                    reach(to, layer[node] + 1);
        }
    };
    for (int node : starts)
        if (node >= 0 && node < nodeCount && layer[node] < 0)
            reach(node, 0);
    for (int node = 0; node < nodeCount; ++node)
        if (previous[node].empty() && layer[node] < 0)
            reach(node, 0);
    spread();
    // What no start reaches (a cycle without tokens): next to what leads into it, or first.
    for (int node = 0; node < nodeCount; ++node) {
        if (layer[node] >= 0)
            continue;
        int at = 0;
        for (int from : previous[node])
            if (layer[from] >= 0 && layer[from] + 1 > at)
                at = layer[from] + 1;
        reach(node, at);
        spread();
    }

    // A column taller than the net is wide folds into side-by-side strips, the k-th node going
    // to strip k % strips, so that going down the column still goes down the page.
    const int rowLimit =
        std::max(kLeastRowLimit, static_cast<int>(std::ceil(std::sqrt(nodeCount) * 1.5)));
    auto stripsOf = [&](std::size_t size) {
        return std::max<int>(1, static_cast<int>((size + rowLimit - 1) / rowLimit));
    };

    // Each column in the order of the mean height of what leads into it, column by column from
    // the left, so that arcs between neighbouring columns cross less. Heights are counted from
    // the column's middle, as the columns are centred.
    std::vector<double> height(nodeCount, 0);
    for (auto& nodes : columns) {
        const int strips = stripsOf(nodes.size());
        const int rows = static_cast<int>((nodes.size() + strips - 1) / strips);
        const double middle = (static_cast<double>(rows) - 1) / 2;
        std::vector<std::pair<double, int>> keyed;
        keyed.reserve(nodes.size());
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            double sum = 0;
            int count = 0;
            for (int from : previous[nodes[k]])
                if (layer[from] < layer[nodes[k]]) {
                    sum += height[from];
                    ++count;
                }
            const double own = static_cast<double>(k / strips) - middle;
            keyed.emplace_back(count > 0 ? sum / count : own, nodes[k]);
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            nodes[k] = keyed[k].second;
            height[nodes[k]] = static_cast<double>(k / strips) - middle;
        }
    }

    std::vector<TLayoutPoint> points(nodeCount);
    std::int32_t x = 0;
    for (const auto& nodes : columns) {
        const int strips = stripsOf(nodes.size());
        const auto rows = static_cast<std::int32_t>((nodes.size() + strips - 1) / strips);
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            const auto strip = static_cast<std::int32_t>(k % strips);
            const auto row = static_cast<std::int32_t>(k / strips);
            points[nodes[k]].X = x + strip * kStripStep;
            points[nodes[k]].Y = row * kRowStep - (rows - 1) * kRowStep / 2;
        }
        x += (strips - 1) * kStripStep + kColumnStep;
    }
    return points;
}
