// The reference launch buffer is the plain unordered array; the comparisons rest on it.
#include "ReferenceEngine.h"

#include "LaunchBuffer.h"

#include <gtest/gtest.h>

namespace {

TEST(ReferenceBuffer, EarliestPrefersTheHighestPositionAmongEqualTimes) {
    TTransitionBuffer buffer;
    const TBufferEntry none = reference::BufferEarliest(buffer);
    EXPECT_EQ(none.Position, -1);
    EXPECT_EQ(none.Time, -1.0);
    for (double t : {4.0, 2.0, 2.0, 3.0})
        reference::BufferAppend(buffer, t);
    const TBufferEntry earliest = reference::BufferEarliest(buffer);
    EXPECT_EQ(earliest.Position, 2);
    EXPECT_EQ(earliest.Time, 2.0);
    EXPECT_EQ(BufferCount(buffer), 4);
}

TEST(ReferenceBuffer, RemoveMovesTheLastEntryIntoTheGap) {
    TTransitionBuffer buffer;
    for (double t : {4.0, 2.0, 3.0})
        reference::BufferAppend(buffer, t);
    reference::BufferRemove(buffer, 0);
    EXPECT_EQ(buffer.Entries, (std::vector<double>{3.0, 2.0}));
    reference::BufferRemove(buffer, 1);
    EXPECT_EQ(buffer.Entries, (std::vector<double>{3.0}));
}

} // namespace
