// The transitions with pending launches, ordered by their earliest completion time and, among
// equal times, by position: the order in which completions are carried out. Each transition's
// key is the earliest entry of its launch buffer; the queue is told whenever that changes.
#pragma once

#include <cstdint>
#include <vector>

class TCompletionQueue {
public:
    void Reset(std::int32_t size) {
        Heap.clear();
        Slot.assign(static_cast<std::size_t>(size), kAbsent);
    }

    bool Empty() const { return Heap.empty(); }
    std::int32_t Top() const { return Heap.front().Position; }

    // The transition that would be at the top once the top one left, -1 when none would be.
    std::int32_t Second() const {
        if (Heap.size() < 2)
            return -1;
        if (Heap.size() > 2 && Before(Heap[2], Heap[1]))
            return Heap[2].Position;
        return Heap[1].Position;
    }
    double TimeOf(std::int32_t position) const {
        return Heap[static_cast<std::size_t>(Slot[static_cast<std::size_t>(position)])].Time;
    }

    // Sets the key of a transition, adding it when absent.
    void Update(std::int32_t position, double time) {
        std::int32_t& slot = Slot[static_cast<std::size_t>(position)];
        if (slot == kAbsent) {
            slot = static_cast<std::int32_t>(Heap.size());
            Heap.push_back({time, position});
            SiftUp(static_cast<std::size_t>(slot));
            return;
        }
        const double old = Heap[static_cast<std::size_t>(slot)].Time;
        Heap[static_cast<std::size_t>(slot)].Time = time;
        if (time < old)
            SiftUp(static_cast<std::size_t>(slot));
        else
            SiftDown(static_cast<std::size_t>(slot));
    }

    // Gives the place of a queued transition to an absent one, with its key: one heap repair
    // instead of a removal and an insertion.
    void Replace(std::int32_t queued, std::int32_t absent, double time) {
        const auto slot = static_cast<std::size_t>(Slot[static_cast<std::size_t>(queued)]);
        Slot[static_cast<std::size_t>(queued)] = kAbsent;
        Place(slot, {time, absent});
        if (slot > 0 && Before(Heap[slot], Heap[(slot - 1) / 2]))
            SiftUp(slot);
        else
            SiftDown(slot);
    }

    void Remove(std::int32_t position) {
        const auto slot = static_cast<std::size_t>(Slot[static_cast<std::size_t>(position)]);
        Slot[static_cast<std::size_t>(position)] = kAbsent;
        const TKey last = Heap.back();
        Heap.pop_back();
        if (slot == Heap.size())
            return;
        Heap[slot] = last;
        Slot[static_cast<std::size_t>(last.Position)] = static_cast<std::int32_t>(slot);
        if (slot > 0 && Before(last, Heap[(slot - 1) / 2]))
            SiftUp(slot);
        else
            SiftDown(slot);
    }

private:
    struct TKey {
        double Time;
        std::int32_t Position;
    };
    static constexpr std::int32_t kAbsent = -1;

    static bool Before(const TKey& a, const TKey& b) {
        return a.Time < b.Time || (a.Time == b.Time && a.Position < b.Position);
    }

    void Place(std::size_t slot, const TKey& key) {
        Heap[slot] = key;
        Slot[static_cast<std::size_t>(key.Position)] = static_cast<std::int32_t>(slot);
    }

    void SiftUp(std::size_t slot) {
        const TKey key = Heap[slot];
        while (slot > 0) {
            const std::size_t parent = (slot - 1) / 2;
            if (!Before(key, Heap[parent]))
                break;
            Place(slot, Heap[parent]);
            slot = parent;
        }
        Place(slot, key);
    }

    void SiftDown(std::size_t slot) {
        const TKey key = Heap[slot];
        const std::size_t size = Heap.size();
        for (;;) {
            std::size_t child = 2 * slot + 1;
            if (child >= size)
                break;
            if (child + 1 < size && Before(Heap[child + 1], Heap[child]))
                ++child;
            if (!Before(Heap[child], key))
                break;
            Place(slot, Heap[child]);
            slot = child;
        }
        Place(slot, key);
    }

    std::vector<TKey> Heap;
    std::vector<std::int32_t> Slot; // heap slot of each transition, kAbsent when not queued
};
