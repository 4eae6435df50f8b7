#include "Viewport.h"
#include "Engine.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

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

} // namespace
