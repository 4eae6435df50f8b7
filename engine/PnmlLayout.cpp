#include "PnmlLayout.h"

#include <algorithm>
#include <deque>

namespace {

// Model units between columns and between rows: room for a place, its name and an arc's count.
constexpr std::int32_t kColumnStep = 1200;
constexpr std::int32_t kRowStep = 800;

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

    // Each column in the order of the mean height of what leads into it, column by column from
    // the left, so that arcs between neighbouring columns cross less.
    std::vector<double> height(nodeCount, 0);
    for (auto& nodes : columns) {
        // Heights are counted from the column's middle, as the columns are centred.
        const double middle = (static_cast<double>(nodes.size()) - 1) / 2;
        std::vector<std::pair<double, int>> keyed;
        keyed.reserve(nodes.size());
        for (std::size_t row = 0; row < nodes.size(); ++row) {
            double sum = 0;
            int count = 0;
            for (int from : previous[nodes[row]])
                if (layer[from] < layer[nodes[row]]) {
                    sum += height[from];
                    ++count;
                }
            keyed.emplace_back(count > 0 ? sum / count : static_cast<double>(row) - middle,
                               nodes[row]);
        }
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t row = 0; row < nodes.size(); ++row) {
            nodes[row] = keyed[row].second;
            height[nodes[row]] = static_cast<double>(row) - middle;
        }
    }

    std::vector<TLayoutPoint> points(nodeCount);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        const auto& nodes = columns[column];
        const auto count = static_cast<std::int32_t>(nodes.size());
        for (std::int32_t row = 0; row < count; ++row) {
            points[nodes[row]].X = static_cast<std::int32_t>(column) * kColumnStep;
            points[nodes[row]].Y = row * kRowStep - (count - 1) * kRowStep / 2;
        }
    }
    return points;
}
