#include "Canvas.h"
#include "ChartDrawing.h"
#include "FormChart.h"
#include "FrameImage.h"
#include "History.h"
#include "HistoryCompact.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "Random.h"
#include "TextCodec.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

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

// A vertex whose history holds `count` samples: values 0..9 drawn at random, times rising by
// random steps of 0.01..0.1, so that many samples share a pixel column at the usual scales.
TVertex* RandomHistoryVertex(TEngine& engine, const std::string& name, int count, unsigned seed) {
    TVertex* vertex = CreateVertex(engine.Net, name, 3, 0, 0, nullptr);
    StartMonitoring(*vertex, 0);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(0, 9), step(1, 10);
    double time = 0;
    for (int i = 1; i < count; ++i) {
        time += step(random) / 100.0;
        HistoryAdd(vertex->History, hmReplace, 0, value(random), time);
    }
    engine.Net.ModelTime = time + 1;
    return vertex;
}

QImage SeriesImage(TEngine& engine, const TVertex& vertex, bool reduced) {
    QImage image = MakeFrameImage(engine.Chart.ChartWidth, engine.Chart.ChartHeight);
    image.fill(Qt::white);
    QPainter canvas(&image);
    if (reduced) {
        TChartSeriesSummary summary;
        UpdateSummary(summary, vertex.History);
        DrawMarkingSeries(engine, canvas, 0, vertex.Name, vertex, summary);
    } else
        DrawMarkingSeriesFull(engine, canvas, 0, vertex.Name, vertex);
    return image;
}

// The reduced line colours exactly the pixels the full one does: many samples to a column, one
// sample over several columns, the chart panned so that the history starts and ends outside it,
// and a compacted history whose line begins with a slant from the value before its first sample.
TEST_F(ChartTest, ReducedLineMatchesFullLine) {
    TVertex* vertex = RandomHistoryVertex(Engine, "P", 1000, 3);
    struct View {
        double ScaleX, ScaleY, Zoom;
        std::int32_t CenterX, CenterY;
    };
    for (const View view :
         {View{10, 10, 1, 0, 0}, View{10, 10, 0.45, 200, -40}, View{100, 25, 1, 1800, -100},
          View{1, 30, 0.8, 30, -120}, View{10, 10, 0.3, 2000, 0}}) {
        Engine.Chart.ScaleX = view.ScaleX;
        Engine.Chart.ScaleY = view.ScaleY;
        Engine.Chart.ChartZoom = view.Zoom;
        Engine.Chart.ChartCenterX = view.CenterX;
        Engine.Chart.ChartCenterY = view.CenterY;
        EXPECT_EQ(SeriesImage(Engine, *vertex, true), SeriesImage(Engine, *vertex, false))
            << "scale " << view.ScaleX << " zoom " << view.Zoom << " centre " << view.CenterX;
        HistoryCompact(*vertex, 300); // the second view on: a compacted history
        ASSERT_GT(vertex->History.MeanCount, 0);
    }
}

// The summary's value range of any stretch equals a scan of its samples, as the history grows,
// its last sample changes in place, and after compaction and clearing replaced its samples.
TEST_F(ChartTest, SummaryRangesMatchScan) {
    TVertex* vertex = RandomHistoryVertex(Engine, "P", 700, 5);
    HistoryList& history = vertex->History;
    TChartSeriesSummary summary;
    std::mt19937 random(11);
    auto check = [&](const char* stage) {
        UpdateSummary(summary, history);
        const std::size_t count = history.Samples.size();
        std::uniform_int_distribution<std::size_t> index(0, count - 1);
        for (int trial = 0; trial < 300; ++trial) {
            std::size_t first = index(random), end = index(random) + 1;
            if (first >= end)
                std::swap(first, end), ++end, first = first > 0 ? first - 1 : 0;
            double least = history.Samples[first].Value, greatest = least;
            for (std::size_t i = first; i < end; ++i) {
                least = std::min(least, history.Samples[i].Value);
                greatest = std::max(greatest, history.Samples[i].Value);
            }
            const TValueRange range = SampleValueRange(summary, history, first, end);
            ASSERT_EQ(range.Least, least) << stage << " [" << first << ", " << end << ")";
            ASSERT_EQ(range.Greatest, greatest) << stage << " [" << first << ", " << end << ")";
        }
    };
    check("built");
    const double last = history.Samples.back().Time;
    HistoryAdd(history, hmReplace, 0, 42, last); // merged into the last sample
    check("last sample changed");
    for (int i = 1; i <= 200; ++i)
        HistoryAdd(history, hmReplace, 0, i % 7 == 0 ? -5 : 1, last + i);
    check("grown");
    HistoryCompact(*vertex, 100);
    ASSERT_GT(history.MeanCount, 0);
    check("compacted");
    HistoryClear(history);
    for (int i = 0; i < 300; ++i)
        HistoryAdd(history, hmReplace, 0, 100 - i, i);
    check("cleared and refilled");
}

// "Вмістити дані" brings the whole history, from time 0 to the model time and from its least to
// its greatest value, inside the chart; the legend shows each series' colour.
TEST_F(ChartTest, FitToDataAndLegend) {
    RandomHistoryVertex(Engine, "P", 2000, 9);
    TVertex* q = CreateVertex(Engine.Net, "Q", 25, 0, 0, nullptr);
    StartMonitoring(*q, 0);
    HistoryAdd(q->History, hmReplace, 0, -4, 7);
    Engine.Net.ModelTime = 5000; // long after the last change
    TFormChart form(Engine);
    form.show();
    ResizeChart(Engine.Chart, 400, 300);
    form.MemoChoiced()->setPlainText("P\nQ\nNothing");
    form.findChild<QPushButton*>("ButtonFitData")->click();
    const TEngineChart& c = Engine.Chart;
    const TChartPoint start = ChartToPixel(c, 0, -(25 * c.ScaleY));
    const TChartPoint end = ChartToPixel(c, 5000 * c.ScaleX, -(-4 * c.ScaleY));
    // Inside the 5 % margins, centred, filling at least 5/8 of the room each way.
    EXPECT_GE(start.X, 20);
    EXPECT_LE(end.X, 380);
    EXPECT_NEAR(start.X + end.X, 400, 1);
    EXPECT_GE(end.X - start.X, 360 * 5 / 8);
    EXPECT_GE(start.Y, 15); // the greatest value at the top
    EXPECT_LE(end.Y, 285);
    EXPECT_NEAR(start.Y + end.Y, 300, 1);
    EXPECT_GE(end.Y - start.Y, 270 * 5 / 8);
    // Grid lines, 80 pixels apart, fall on round numbers: 80 / 64 = 1.25 units, 80 / 2 = 40.
    for (double scale : {c.ScaleX, c.ScaleY}) {
        const double units = 80 / scale, power = std::pow(10.0, std::floor(std::log10(units)));
        const double mantissa = units / power;
        EXPECT_TRUE(std::fabs(mantissa - std::round(mantissa * 4) / 4) < 1e-9 ||
                    std::fabs(mantissa - 1.6) < 1e-9)
            << units;
    }
    EXPECT_EQ(form.LEditScaleX()->text().toStdString(), FloatToText("", c.ScaleX));
    // The legend's squares, one row per series found, in the top left corner, in list order.
    const QImage& image = c.ChartScreenBitmap->Image;
    auto rowOf = [&](std::size_t n) {
        for (int y = 6; y < 80; ++y)
            if (image.pixelColor(15, y) == ToQColor(c.SeriesColors[n]))
                return y;
        return -1;
    };
    EXPECT_GT(rowOf(0), 6);
    EXPECT_GT(rowOf(1), rowOf(0) + 10);
}

} // namespace
