// The placement of nets whose file gives no positions.
#include "PnmlLayout.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(PnmlLayoutTest, ColumnsFollowTheArcsFromTheStart) {
    // A cycle 0 -> 1 -> 2 -> 3 -> 0 started at 2, and a branch 1 -> 4.
    const auto points = LayeredLayout(5, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {1, 4}}, {2});
    EXPECT_EQ(points[2].X, 0);
    EXPECT_LT(points[2].X, points[3].X);
    EXPECT_LT(points[3].X, points[0].X);
    EXPECT_LT(points[0].X, points[1].X);
    EXPECT_LT(points[1].X, points[4].X);
}

TEST(PnmlLayoutTest, NoTwoNodesShareAPointEvenWithoutArcs) {
    const auto points = LayeredLayout(40, {{0, 39}, {39, 0}}, {});
    std::set<std::pair<std::int32_t, std::int32_t>> distinct;
    for (const TLayoutPoint& point : points)
        distinct.emplace(point.X, point.Y);
    EXPECT_EQ(distinct.size(), points.size());
}

TEST(PnmlLayoutTest, SuccessorsKeepTheOrderOfWhatLeadsToThem) {
    // Two starts, each with one successor: the successors do not swap rows.
    const auto points = LayeredLayout(4, {{1, 2}, {0, 3}}, {0, 1});
    EXPECT_EQ(points[2].X, points[3].X);
    EXPECT_EQ(points[0].Y < points[1].Y, points[3].Y < points[2].Y);
}

} // namespace
