#include "Canvas.h"
#include "ChartDrawing.h"
#include "FormChart.h"
#include "FrameImage.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "Random.h"
#include "TextCodec.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        ResizeChart(Engine.Chart, 400, 300);
    }
    QColor Pixel(double x, double y) {
        const TChartPoint p = ChartToPixel(Engine.Chart, x, y);
        return Engine.Chart.ChartScreenBitmap->Image.pixelColor(static_cast<int>(p.X),
                                                                static_cast<int>(p.Y));
    }
    TEngine Engine;
};

TEST_F(ChartTest, GridLevelsAndCoordinates) {
    const auto& levels = Engine.Chart.ChartGrid.Levels;
    ASSERT_EQ(levels.size(), 12u);
    EXPECT_EQ(levels[0].ScaleTo, 2.0);
    EXPECT_EQ(levels[0].Step, 80);
    EXPECT_EQ(levels[11].ScaleFrom, 0.000244140625);
    EXPECT_EQ(levels[11].Step, 163840);
    int shown = 0;
    for (const auto& level : levels)
        shown += level.ScaleFrom <= 0.5 && 0.5 <= level.ScaleTo;
    EXPECT_EQ(shown, 2); // steps 80 and 160 at zoom 0.5
    const TChartPoint p = ChartToPixel(Engine.Chart, 10, -20);
    EXPECT_EQ(p.X, 210);
    EXPECT_EQ(p.Y, 130);
    const TChartPoint back = PixelToChart(Engine.Chart, 210, 130);
    EXPECT_EQ(back.X, 10);
    EXPECT_EQ(back.Y, -20);
}

TEST_F(ChartTest, ZoomIsClamped) {
    ChartDragZoom(Engine.Chart, -100000);
    EXPECT_EQ(Engine.Chart.ChartZoom, 1.0);
    ChartDragZoom(Engine.Chart, 100000);
    EXPECT_EQ(Engine.Chart.ChartZoom, 0.0003);
}

TEST_F(ChartTest, UnmonitoredVertexDrawsNothingButTakesItsColour) {
    CreateVertex(Engine.Net, "A", 1, 0, 0, nullptr); // not monitored: empty history
    CreateVertex(Engine.Net, "B", 1, 0, 0, nullptr);
    CreateVertex(Engine.Net, "C", 1, 0, 0, nullptr);
    TVertex* d = CreateVertex(Engine.Net, "D", 2, 0, 0, nullptr);
    StartMonitoring(*d, 0);
    Engine.Net.ModelTime = 5;
    Engine.Random.Seed = 1;
    DrawChart(Engine, {"A", "b", "C", "D", "Nothing"}); // "b" in another case is drawn too
    ASSERT_EQ(Engine.Chart.SeriesColors.size(), 4u);
    const TColor fourth = Engine.Chart.SeriesColors[3];
    EXPECT_EQ(Pixel(25, -20),
              ToQColor(fourth)); // D's line at marking 2 (y -20) from 0 to 5 (x 0 to 50)
    DrawChart(Engine, {"A", "B", "C", "D"});
    EXPECT_EQ(Engine.Chart.SeriesColors[3], fourth); // kept in later redraws
}

TEST_F(ChartTest, TransitionBarsStandSideBySide) {
    TTransition* t1 = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
    TTransition* t2 = CreateTransition(Engine.Net, "T2", 0, 1, 0, nullptr);
    t1->LaunchCount = 5;
    t2->LaunchCount = 3;
    Engine.Chart.ChartType = chTransitionLaunches;
    Engine.Chart.ScaleX = 1;
    Engine.Chart.ScaleY = 1;
    DrawChart(Engine, {"T1", "T2"});
    EXPECT_EQ(Pixel(8, -2), ToQColor(Engine.Chart.SeriesColors[0]));  // inside [0, 16)
    EXPECT_EQ(Pixel(24, -2), ToQColor(Engine.Chart.SeriesColors[1])); // inside [16, 32)
    EXPECT_NE(Pixel(24, -4), ToQColor(Engine.Chart.SeriesColors[1])); // above T2's 3
}

TEST_F(ChartTest, WindowListsScalesAndGestures) {
    TVertex* p1 = CreateVertex(Engine.Net, "P1", 1, 0, 0, nullptr);
    StartMonitoring(*p1, 0);
    CreateVertex(Engine.Net, "P2", 1, 0, 0, nullptr);
    TFormChart form(Engine);
    form.show();
    EXPECT_EQ(form.OfferedNames(), QStringList({"P1"}));
    form.MemoChoiced()->setPlainText("p1");
    EXPECT_EQ(form.OfferedNames(), QStringList({"P1"})); // the listed test is exact
    form.ButtonAddAllClick();
    EXPECT_EQ(form.MemoChoiced()->toPlainText(), QString("P1"));
    EXPECT_TRUE(form.OfferedNames().isEmpty());
    form.LEditScaleX()->setText("-2");
    QTest::keyClick(form.LEditScaleX(), Qt::Key_Return);
    EXPECT_EQ(Engine.Chart.ScaleX, 0.001);
    EXPECT_EQ(form.LEditScaleX()->text(), QString("0.001"));

    Engine.EditMode = emCreateVertex; // a creation tool waits: a press on the chart replaces it
    QTest::mousePress(form.ChartView(), Qt::LeftButton, {}, {50, 50});
    EXPECT_EQ(Engine.EditMode, emDragZoom);
    QTest::mouseRelease(form.ChartView(), Qt::LeftButton, {}, {50, 50});
    EXPECT_EQ(Engine.EditMode, emIdle);
    QTest::mousePress(form.ChartView(), Qt::MiddleButton, {}, {50, 50});
    EXPECT_EQ(Engine.EditMode, emIdle);
    form.CBoxChartType()->setCurrentIndex(1);
    EXPECT_EQ(Engine.Chart.ChartType, chTransitionLaunches);
    EXPECT_TRUE(form.MemoChoiced()->toPlainText().isEmpty());
}

} // namespace
