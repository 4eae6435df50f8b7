#include "LaunchBuffer.h"

#include "NetRecords.h"

namespace {

void SiftUp(std::vector<double>& heap, std::size_t position, double time) {
    while (position > 0) {
        const std::size_t parent = (position - 1) / 2;
        if (!(time < heap[parent]))
            break;
        heap[position] = heap[parent];
        position = parent;
    }
    heap[position] = time;
}

void SiftDown(std::vector<double>& heap, std::size_t position, double time) {
    const std::size_t size = heap.size();
    for (;;) {
        std::size_t child = 2 * position + 1;
        if (child >= size)
            break;
        if (child + 1 < size && heap[child + 1] < heap[child])
            ++child;
        if (!(heap[child] < time))
            break;
        heap[position] = heap[child];
        position = child;
    }
    heap[position] = time;
}

} // namespace

void BufferAppend(TTransitionBuffer& buffer, double time) {
    buffer.Entries.push_back(time);
    SiftUp(buffer.Entries, buffer.Entries.size() - 1, time);
}

void BufferRemove(TTransitionBuffer& buffer, std::int32_t position) {
    auto& heap = buffer.Entries;
    const double last = heap.back();
    heap.pop_back();
    const auto k = static_cast<std::size_t>(position);
    if (k == heap.size())
        return;
    if (k > 0 && last < heap[(k - 1) / 2])
        SiftUp(heap, k, last);
    else
        SiftDown(heap, k, last);
}

void BufferClear(TTransitionBuffer& buffer) {
    buffer.Entries.clear();
}

TBufferEntry BufferEarliest(const TTransitionBuffer& buffer) {
    if (buffer.Entries.empty())
        return {};
    return {0, buffer.Entries[0]};
}

void ClearLaunchBuffers(TEngineNet& net) {
    for (auto& transition : net.Transitions)
        BufferClear(transition->LaunchBuffer);
}
