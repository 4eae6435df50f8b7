#include "Viewport.h"
#include "Engine.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

class ViewportTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Graph().ScreenWidth = 1280;
        Graph().ScreenHeight = 800;
    }
    TEngineGraph& Graph() { return Engine.Graph; }
    TEngine Engine;
};

TEST_F(ViewportTest, ScreenAndModelRoundTripWithinAPixel) {
    for (double scale : {0.0095, 0.14285, 0.33, 1.0}) {
        Graph().Scale = scale;
        Graph().CenterX = -12345;
        Graph().CenterY = 678;
        for (int sx : {0, 1, 639, 640, 1279})
            for (int sy : {0, 399, 800}) {
                const TPoint m = ScreenToModel(Graph(), sx, sy);
                const TPoint back = ModelToScreen(Graph(), m.X, m.Y);
                EXPECT_LE(std::abs(back.X - sx), 1) << scale;
                EXPECT_LE(std::abs(back.Y - sy), 1) << scale;
            }
    }
    Graph().Scale = 0.14285;
    Graph().CenterX = 0;
    Graph().CenterY = 0;
    EXPECT_EQ(ModelToScreen(Graph(), 0, 0), (TPoint{640, 400}));
    EXPECT_EQ(ModelToScreen(Graph(), 700, -700), (TPoint{740, 300}));
}

TEST_F(ViewportTest, ZoomStopsAtSevenHundredAndSevenPercentAroundTheCentre) {
    Graph().CenterX = 500;
    const TPoint centre = ScreenToModel(Graph(), 640, 400);
    EXPECT_EQ(ZoomText(Graph()), " Масштаб: 100%");
    for (int i = 0; i < 13; ++i)
        ZoomStep(Graph(), true);
    EXPECT_LT(Graph().Scale, 1.0);
    ZoomStep(Graph(), true);
    EXPECT_EQ(Graph().Scale, 1.0);
    EXPECT_EQ(ZoomText(Graph()), " Масштаб: 700%");
    ZoomStep(Graph(), true);
    EXPECT_EQ(Graph().Scale, 1.0);
    EXPECT_EQ(ScreenToModel(Graph(), 640, 400), centre);
    for (int i = 0; i < 40; ++i)
        ZoomStep(Graph(), false);
    EXPECT_EQ(Graph().Scale, 0.0095);
    EXPECT_EQ(ZoomText(Graph()), " Масштаб: 7%");
}

TEST_F(ViewportTest, DragZoomAndPan) {
    DragZoom(Graph(), 0);
    EXPECT_EQ(Graph().Scale, 0.14285);
    DragZoom(Graph(), -100);
    EXPECT_DOUBLE_EQ(Graph().Scale, 0.14285 * std::pow(1.005, 100));
    DragZoom(Graph(), 100);
    EXPECT_DOUBLE_EQ(Graph().Scale, 0.14285);
    DragZoom(Graph(), 100000);
    EXPECT_EQ(Graph().Scale, 0.0095);

    Graph().Scale = 0.14285;
    Pan(Graph(), 70, 0);
    EXPECT_EQ(Graph().CenterX, -490);
    EXPECT_EQ(Graph().CenterY, 0);
}

TEST_F(ViewportTest, GridLevelsAtASharedBoundAreBothDrawn) {
    const auto& levels = Graph().Options.GridOptions.Levels;
    ASSERT_EQ(levels.size(), 7u);
    EXPECT_EQ(levels[6].Step, 6400);
    EXPECT_EQ(levels[6].ScaleFrom, 0.0078125);
    int shown = 0;
    for (const auto& level : levels)
        shown += IsGridLevelShown(level, 0.25);
    EXPECT_EQ(shown, 2);
    shown = 0;
    for (const auto& level : levels)
        shown += IsGridLevelShown(level, 0.14285) ? level.Step : 0;
    EXPECT_EQ(shown, 400);
}

TEST_F(ViewportTest, GridLinesStartAtTheFirstVisibleMultiple) {
    // At 0.14285 the 400-unit level: the window spans about 8960 x 5600 units around the origin.
    const TGridLines grid = GridLines(Graph());
    EXPECT_EQ(grid.Axes.size(), 2u);
    int vertical = 0;
    for (const auto& l : grid.Lines)
        vertical += l.From.X == l.To.X;
    EXPECT_EQ(vertical, 22); // 11 on each side of the axis
    // Far from the origin the runs begin near the window, not at the origin.
    Graph().CenterX = 2000000000;
    Graph().CenterY = -2000000000;
    const TGridLines far = GridLines(Graph());
    EXPECT_TRUE(far.Axes.empty());
    EXPECT_LT(far.Lines.size(), 40u);
    EXPECT_GT(far.Lines.size(), 30u);
}

TEST_F(ViewportTest, AxesHideNearTheEdges) {
    Graph().CenterY = RoundToInt(395 / Graph().Scale); // origin's screen y about 5
    const TGridLines grid = GridLines(Graph());
    ASSERT_EQ(grid.Axes.size(), 1u);
    EXPECT_EQ(grid.Axes[0].From.X, grid.Axes[0].To.X); // only the vertical axis
}

TEST(TimeLineMarks, LabelsEverySixtyPixelsAroundTheCurrentInstant) {
    const auto marks = TimeLineMarks(1280, 0, 1);
    ASSERT_FALSE(marks.empty());
    EXPECT_EQ(marks[0].X, 640);
    EXPECT_EQ(marks[0].Value, 0);
    bool sawOne = false, sawMinusTwo = false;
    for (const auto& m : marks) {
        if (!m.Short && m.X == 700)
            sawOne = m.Value == 1;
        if (!m.Short && m.X == 520)
            sawMinusTwo = m.Value == -2;
        if (m.Short) {
            EXPECT_EQ((m.X - 640 + 3000) % 60, 30);
        }
    }
    EXPECT_TRUE(sawOne);
    EXPECT_TRUE(sawMinusTwo);

    const auto later = TimeLineMarks(1280, 2.5, 1);
    EXPECT_EQ(later[0].X, 610); // 2.5 rounds to 2, half a period to the left
    EXPECT_EQ(later[0].Value, 2);
}

// Long labels (a large model time) leave out labels in steps of 1, 2, 5, 10..., so that the
// labels shown stand apart; the labelled ticks are multiples of the step and so stay put.
TEST(TimeLineMarks, LongLabelsAreThinnedOutToStandApart) {
    EXPECT_EQ(TimeLineLabelStride(40, 8), 1);
    EXPECT_EQ(TimeLineLabelStride(52, 8), 1);
    EXPECT_EQ(TimeLineLabelStride(53, 8), 2);
    EXPECT_EQ(TimeLineLabelStride(150, 8), 5);
    EXPECT_EQ(TimeLineLabelStride(500, 8), 10);
    EXPECT_EQ(TimeLineLabelStride(1000, 8), 20);

    for (double scale : {1.0, 0.25}) {
        const std::int32_t stride = 5;
        std::vector<std::int32_t> labelled;
        for (const auto& m : TimeLineMarks(1280, 1e9 * scale + 3 * scale, scale))
            if (!m.Short && IsTimeLineLabelShown(m.Value, scale, stride))
                labelled.push_back(m.X);
        std::sort(labelled.begin(), labelled.end());
        ASSERT_GE(labelled.size(), 4u) << scale;
        for (std::size_t i = 1; i < labelled.size(); ++i)
            EXPECT_EQ(labelled[i] - labelled[i - 1], stride * kTimeLineSpacing) << scale;
        // 1e9 + 5 is a multiple of 5 steps: its tick, 2 steps right of the centre, is labelled.
        EXPECT_TRUE(std::binary_search(labelled.begin(), labelled.end(), 640 + 2 * 60)) << scale;
    }
    EXPECT_TRUE(IsTimeLineLabelShown(-10, 1, 5));
    EXPECT_FALSE(IsTimeLineLabelShown(-12, 1, 5));
    EXPECT_TRUE(IsTimeLineLabelShown(7, 1, 1));
}

} // namespace
