// A set of transition positions that yields its smallest member first: a binary min-heap with a
// membership flag per position, so that adding a member twice keeps one copy.
#pragma once

#include <cstdint>
#include <vector>

class TPositionQueue {
public:
    // Empties the queue and makes room for positions 0 .. size - 1.
    void Reset(std::int32_t size) {
        Heap.clear();
        Member.assign(static_cast<std::size_t>(size), 0);
    }

    // Holds every position of the ascending list (a sorted array is already a heap).
    void Fill(const std::vector<std::int32_t>& ascending) {
        Heap = ascending;
        for (std::int32_t position : ascending)
            Member[static_cast<std::size_t>(position)] = 1;
    }

    bool Empty() const { return Heap.empty(); }
    bool Contains(std::int32_t position) const {
        return Member[static_cast<std::size_t>(position)] != 0;
    }
    std::int32_t Top() const { return Heap.front(); }

    void Push(std::int32_t position) {
        std::uint8_t& member = Member[static_cast<std::size_t>(position)];
        if (member)
            return;
        member = 1;
        std::size_t slot = Heap.size();
        Heap.push_back(position);
        while (slot > 0) {
            const std::size_t parent = (slot - 1) / 2;
            if (Heap[parent] < position)
                break;
            Heap[slot] = Heap[parent];
            slot = parent;
        }
        Heap[slot] = position;
    }

    std::int32_t Pop() {
        const std::int32_t top = Heap.front();
        Member[static_cast<std::size_t>(top)] = 0;
        const std::int32_t last = Heap.back();
        Heap.pop_back();
        const std::size_t size = Heap.size();
        if (size > 0) {
            std::size_t slot = 0;
            for (;;) {
                std::size_t child = 2 * slot + 1;
                if (child >= size)
                    break;
                if (child + 1 < size && Heap[child + 1] < Heap[child])
                    ++child;
                if (last < Heap[child])
                    break;
                Heap[slot] = Heap[child];
                slot = child;
            }
            Heap[slot] = last;
        }
        return top;
    }

private:
    std::vector<std::int32_t> Heap;
    std::vector<std::uint8_t> Member;
};
