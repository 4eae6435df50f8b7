// The launch buffer of a transition: completion times of its pending launches, unordered.
#pragma once

#include <cstdint>
#include <vector>

struct TEngineNet;

struct TTransitionBuffer {
    std::vector<double> Entries;
};

struct TBufferEntry {
    std::int32_t Position = -1;
    double Time = -1.0;
};

void BufferAppend(TTransitionBuffer& buffer, double time);
// The last entry moves into the gap.
void BufferRemove(TTransitionBuffer& buffer, std::int32_t position);
void BufferClear(TTransitionBuffer& buffer);
std::int32_t BufferCount(const TTransitionBuffer& buffer);
// The earliest entry; among equal times the one at the highest position. Position -1 and
// time -1.0 for an empty buffer.
TBufferEntry BufferEarliest(const TTransitionBuffer& buffer);
// Empties the buffer of every transition; the tokens the launches took are not returned.
void ClearLaunchBuffers(TEngineNet& net);
