#include "LaunchBuffer.h"

#include "NetRecords.h"

void BufferAppend(TTransitionBuffer& buffer, double time) { buffer.Entries.push_back(time); }

void BufferRemove(TTransitionBuffer& buffer, std::int32_t position) {
    buffer.Entries[position] = buffer.Entries.back();
    buffer.Entries.pop_back();
}

void BufferClear(TTransitionBuffer& buffer) { buffer.Entries.clear(); }

std::int32_t BufferCount(const TTransitionBuffer& buffer) {
    return static_cast<std::int32_t>(buffer.Entries.size());
}

TBufferEntry BufferEarliest(const TTransitionBuffer& buffer) {
    TBufferEntry best;
    for (std::size_t i = 0; i < buffer.Entries.size(); ++i)
        if (best.Position < 0 || buffer.Entries[i] <= best.Time) {
            best.Position = static_cast<std::int32_t>(i);
            best.Time = buffer.Entries[i];
        }
    return best;
}

void ClearLaunchBuffers(TEngineNet& net) {
    for (auto& transition : net.Transitions)
        BufferClear(transition->LaunchBuffer);
}
