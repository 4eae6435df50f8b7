// The median wall-clock time of a piece of work repeated a number of times, in milliseconds:
// the middle of the runs is steadier than their mean on a shared machine.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

template <typename Work> double MedianMs(Work&& work, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
