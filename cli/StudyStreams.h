// Where the replications of a study draw their random numbers: R streams of the program's
// generator, spaced evenly around its cycle of 2^32 numbers.
#pragma once

#include <cstdint>

// The spacing of `streams` streams: the draws each may take before it runs into the next.
std::uint64_t StreamSpacing(std::uint64_t streams);
