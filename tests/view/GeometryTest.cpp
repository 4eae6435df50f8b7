#include "Geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(Geometry, VectorAngleCoversEveryQuadrantClockwiseOnScreen) {
    EXPECT_EQ(VectorAngle(0, 0, 0, 0), 0);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, 10, 0), 0);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, 10, 10), 45);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, 0, 10), 90);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, -10, 10), 135);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, -10, 0), 180);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, -10, -10), 225);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, 0, -10), 270);
    EXPECT_DOUBLE_EQ(VectorAngle(0, 0, 10, -10), 315);
}

TEST(Geometry, PolarPointAddAngleAndDistanceRound) {
    EXPECT_EQ(PolarPoint(100, 100, 190, 0), (TPoint{290, 100}));
    EXPECT_EQ(PolarPoint(0, 0, 10, 90), (TPoint{0, 10}));
    EXPECT_EQ(PolarPoint(0, 0, 10, 45), (TPoint{7, 7}));
    EXPECT_EQ(AddAngle(350, 20), 10);
    EXPECT_EQ(AddAngle(10, -20), -10); // negative sums stay negative
    EXPECT_EQ(PointDistance(0, 0, 3, 4), 5);
    EXPECT_EQ(PointDistance(0, 0, 1, 1), 1);
    EXPECT_EQ(PointDistance(-2000000000, 0, 2000000000, 0), 2147483647); // beyond int32: clamped
}

TEST(Geometry, SegmentMeetsRectangleWhereverItCrossesIt) {
    auto meets = [](TPoint a, TPoint b) {
        return SegmentMeetsRectangle(a, b, -100, -100, 100, 100);
    };
    EXPECT_TRUE(meets({-5000, 0}, {5000, 0}));    // both ends far outside, across
    EXPECT_TRUE(meets({-300, 150}, {150, -300})); // cuts a corner
    EXPECT_TRUE(meets({100, -500}, {100, 500}));  // along an edge
    EXPECT_FALSE(meets({-300, 50}, {50, -300}));  // passes the corner, boxes overlap
    EXPECT_FALSE(meets({200, 0}, {9000, 0}));     // pointing at it from outside
}

} // namespace
