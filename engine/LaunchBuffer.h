// The launch buffer of a transition: completion times of its pending launches, unordered.
#pragma once

#include <vector>

struct TTransitionBuffer {
    std::vector<double> Entries;
};
