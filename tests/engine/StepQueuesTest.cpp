// The orderings the simulation step rests on, each checked against a plain sorted model over
// random operations: the launch buffer heap, the completion queue and the re-test queue.
#include "CompletionQueue.h"
#include "LaunchBuffer.h"
#include "PositionQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

std::vector<double> Sorted(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values;
}

TEST(LaunchBufferHeap, KeepsTheEntriesAndYieldsAnEarliestOne) {
    TTransitionBuffer buffer;
    const TBufferEntry none = BufferEarliest(buffer);
    EXPECT_EQ(none.Position, -1);
    EXPECT_EQ(none.Time, -1.0);
    for (double t : {4.0, 2.0, 2.0, 3.0})
        BufferAppend(buffer, t);
    EXPECT_EQ(BufferEarliest(buffer).Position, 0);
    EXPECT_EQ(BufferEarliest(buffer).Time, 2.0);
    EXPECT_EQ(BufferCount(buffer), 4);

    std::mt19937 random(5);
    std::vector<double> model = buffer.Entries;
    for (int step = 0; step < 20000; ++step) {
        if (model.empty() || random() % 3 != 0) {
            const double time = static_cast<double>(random() % 50); // many equal times
            BufferAppend(buffer, time);
            model.push_back(time);
        } else {
            // Removal at any position, as CompleteLaunch allows; mostly the earliest.
            const auto position =
                static_cast<std::int32_t>(random() % 4 == 0 ? random() % model.size() : 0);
            const double removed = buffer.Entries[static_cast<std::size_t>(position)];
            BufferRemove(buffer, position);
            model.erase(std::find(model.begin(), model.end(), removed));
        }
        ASSERT_EQ(BufferCount(buffer), static_cast<std::int32_t>(model.size()));
        if (!model.empty()) {
            ASSERT_EQ(BufferEarliest(buffer).Time, *std::min_element(model.begin(), model.end()));
        }
    }
    EXPECT_EQ(Sorted(buffer.Entries), Sorted(model));
    BufferClear(buffer);
    EXPECT_EQ(BufferCount(buffer), 0);
}

TEST(CompletionQueue, OrdersByTimeThenPositionThroughUpdatesRemovalsAndReplacements) {
    constexpr std::int32_t kSize = 40;
    TCompletionQueue queue;
    queue.Reset(kSize);
    std::set<std::pair<double, std::int32_t>> model;
    std::vector<double> key(kSize, -1);
    std::mt19937 random(11);
    auto set = [&](std::int32_t position, double time) {
        if (key[static_cast<std::size_t>(position)] >= 0)
            model.erase({key[static_cast<std::size_t>(position)], position});
        key[static_cast<std::size_t>(position)] = time;
        model.insert({time, position});
    };
    auto erase = [&](std::int32_t position) {
        model.erase({key[static_cast<std::size_t>(position)], position});
        key[static_cast<std::size_t>(position)] = -1;
    };
    for (int step = 0; step < 20000; ++step) {
        const auto position = static_cast<std::int32_t>(random() % kSize);
        const double time = static_cast<double>(random() % 8); // ties are the point
        const bool queued = key[static_cast<std::size_t>(position)] >= 0;
        switch (random() % 3) {
        case 0:
            queue.Update(position, time);
            set(position, time);
            break;
        case 1:
            if (queued) {
                queue.Remove(position);
                erase(position);
            }
            break;
        default:
            if (!model.empty() && !queued) {
                const std::int32_t top = queue.Top();
                queue.Replace(top, position, time);
                erase(top);
                set(position, time);
            }
            break;
        }
        ASSERT_EQ(queue.Empty(), model.empty());
        if (model.empty())
            continue;
        ASSERT_EQ(queue.Top(), model.begin()->second);
        ASSERT_EQ(queue.TimeOf(queue.Top()), model.begin()->first);
        ASSERT_EQ(queue.Second(), model.size() > 1 ? std::next(model.begin())->second : -1);
        if (key[static_cast<std::size_t>(position)] >= 0) {
            ASSERT_EQ(queue.TimeOf(position), key[static_cast<std::size_t>(position)]);
        }
    }
}

TEST(PositionQueue, YieldsEachQueuedPositionOnceInAscendingOrder) {
    TPositionQueue queue;
    queue.Reset(100);
    queue.Fill({3, 10, 42});
    std::mt19937 random(3);
    std::set<std::int32_t> model = {3, 10, 42};
    for (int step = 0; step < 2000 || !queue.Empty(); ++step) {
        if (step < 2000 && (queue.Empty() || random() % 2 == 0)) {
            const auto position = static_cast<std::int32_t>(random() % 100);
            queue.Push(position);
            model.insert(position);
            ASSERT_TRUE(queue.Contains(position));
        } else {
            ASSERT_EQ(queue.Top(), *model.begin());
            const std::int32_t position = queue.Pop();
            ASSERT_EQ(position, *model.begin());
            model.erase(model.begin());
            EXPECT_FALSE(queue.Contains(position));
        }
    }
    EXPECT_TRUE(model.empty());
}

} // namespace
