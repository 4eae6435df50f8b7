// The launch buffer of a transition: completion times of its pending launches. The entries are
// kept as a binary min-heap, so an earliest one is always at position 0; equal times are
// interchangeable, so which of them sits where never changes what a run does.
#pragma once

#include <cstdint>
#include <vector>

struct TEngineNet;

struct TTransitionBuffer {
    std::vector<double> Entries; // heap-ordered: no entry is earlier than its parent
};

struct TBufferEntry {
    std::int32_t Position = -1;
    double Time = -1.0;
};

void BufferAppend(TTransitionBuffer& buffer, double time);
// Removes the entry at `position`, keeping the heap order.
void BufferRemove(TTransitionBuffer& buffer, std::int32_t position);
void BufferClear(TTransitionBuffer& buffer);
inline std::int32_t BufferCount(const TTransitionBuffer& buffer) {
    return static_cast<std::int32_t>(buffer.Entries.size());
}
// An earliest entry (at position 0); position -1 and time -1.0 for an empty buffer.
TBufferEntry BufferEarliest(const TTransitionBuffer& buffer);
// Empties the buffer of every transition; the tokens the launches took are not returned.
void ClearLaunchBuffers(TEngineNet& net);
