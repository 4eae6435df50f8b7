// What leaves the chart window: the PNG as shown, the SVG drawn by the same functions, and the
// series as CSV, through the export dialog and from the chart window's menu.
#include "ChartExport.h"
#include "Canvas.h"
#include "ChartDrawing.h"
#include "CsvTable.h"
#include "DialogControls.h"
#include "ExportFile.h"
#include "FormChart.h"
#include "FrameImage.h"
#include "History.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "SvgPicture.h"
#include "TempFolder.h"
#include "TextCodec.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class ChartExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        ResizeChart(Engine.Chart, 400, 300);
        PreviousMessage = ShowMessageBox;
        ShowMessageBox = [this](QWidget*, const QString& text) { Messages << text; };
        PreviousChoose = ChooseExportFile;
        ChooseExportFile = [this](QWidget*, const QString&, const QString& filter, const QString&) {
            Filters << filter;
            return Chosen;
        };
    }
    void TearDown() override {
        ShowMessageBox = PreviousMessage;
        ChooseExportFile = PreviousChoose;
    }

    // Vertices P (a staircase up and down) and Q (constant), and a transition T.
    void BuildNet() {
        TVertex* p = CreateVertex(Engine.Net, "P", 1, 0, 0, nullptr);
        TVertex* q = CreateVertex(Engine.Net, Utf8ToWin1251("Черга, 2"), 4, 0, 0, nullptr);
        TTransition* t = CreateTransition(Engine.Net, "T", 0, 1, 0, nullptr);
        StartMonitoring(*p, 0);
        StartMonitoring(*q, 0);
        StartMonitoring(*t, 0);
        HistoryAdd(p->History, hmReplace, 0, 3, 10);
        HistoryAdd(p->History, hmReplace, 0, 2, 20.5);
        HistoryAdd(q->History, hmReplace, 0, 5, 15);
        t->LaunchCount = 7;
        Engine.Net.ModelTime = 30;
        Engine.Chart.ScaleX = 10;
        Engine.Chart.ScaleY = 40;
    }

    TEngine Engine;
    TTempFolder Folder;
    QStringList Messages, Filters;
    QString Chosen;
    std::function<void(QWidget*, const QString&)> PreviousMessage;
    decltype(ChooseExportFile) PreviousChoose;
};

const std::vector<std::string> kListed = {"P", Utf8ToWin1251("Черга, 2"), "nothing", "P"};

QImage Read(const std::filesystem::path& path) {
    return QImage(QString::fromStdString(path.string()));
}

TEST_F(ChartExportTest, PngIsTheShownBitmapAndSvgDrawsTheSameChart) {
    BuildNet();
    const std::vector<std::string> charted = {"P", Utf8ToWin1251("Черга, 2")};
    Engine.Chart.ScaleX = 15;
    Engine.Chart.ScaleY = 20;
    DrawChart(Engine, charted);
    const QImage shown =
        Engine.Chart.ChartScreenBitmap->Image.convertToFormat(QImage::Format_RGB32);

    Chosen = QString::fromStdString((Folder / "chart").string()); // no suffix: PNG
    ASSERT_TRUE(SaveChartPicture(nullptr, Engine, charted));
    EXPECT_EQ(Filters.value(0), "Рисунок PNG (*.png);;Рисунок SVG (*.svg)");
    const QImage png = Read(Folder / "chart.png");
    ASSERT_EQ(png.size(), QSize(400, 300));
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), shown);

    Chosen = QString::fromStdString((Folder / "chart.svg").string());
    ASSERT_TRUE(SaveChartPicture(nullptr, Engine, charted));
    const QByteArray svg = QByteArray::fromStdString(ReadBytes(Folder / "chart.svg"));
    QXmlStreamReader xml(svg);
    QString root;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && root.isEmpty())
            root = xml.name().toString();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(root, "svg");
    EXPECT_TRUE(svg.contains("Черга, 2")); // the legend's text stays text

    const QImage drawn = RenderSvg(svg, Qt::white);
    ASSERT_EQ(drawn.size(), QSize(400, 300));
    // Edges of lines and glyphs may be smoothed differently; the picture is the same.
    auto close = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) <
               90;
    };
    int near = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            near += close(drawn.pixelColor(x, y), shown.pixelColor(x, y));
    EXPECT_GT(near, 400 * 300 * 97 / 100);
    // P's line at marking 3 between times 10 and 20.5 in its own colour, on the row the bitmap
    // has it or beside it.
    const TChartPoint on = ChartToPixel(Engine.Chart, 12 * 15, -(3 * 20));
    const QColor colour = ToQColor(Engine.Chart.SeriesColors[0]);
    ASSERT_EQ(shown.pixelColor(int(on.X), int(on.Y)), colour);
    EXPECT_TRUE(close(drawn.pixelColor(int(on.X), int(on.Y)), colour) ||
                close(drawn.pixelColor(int(on.X), int(on.Y) - 1), colour) ||
                close(drawn.pixelColor(int(on.X), int(on.Y) + 1), colour));
}

TEST_F(ChartExportTest, SeriesOfMarkingsAndOfLaunchCounts) {
    BuildNet();
    // Each vertex once whatever the list repeats; names of nothing are skipped.
    EXPECT_EQ(ChartSeriesCsv(Engine, kListed), "time,P,\"Черга, 2\"\n"
                                               "0,1,4\n"
                                               "10,3,4\n"
                                               "15,3,5\n"
                                               "20.5,2,5\n");
    Engine.Chart.ChartType = chTransitionLaunches;
    EXPECT_EQ(ChartSeriesCsv(Engine, {"T", "P", "T"}), "object,launch_count\nT,7\n");
}

TEST_F(ChartExportTest, AnEmptyChartGetsAMessageAndNoDialog) {
    BuildNet();
    Chosen = QString::fromStdString((Folder / "x.csv").string());
    EXPECT_FALSE(SaveChartSeries(nullptr, Engine, {"nothing"}));
    EXPECT_FALSE(SaveChartPicture(nullptr, Engine, {}));
    EXPECT_EQ(Messages.size(), 2);
    EXPECT_TRUE(Filters.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(Folder / "x.csv"));
}

TEST_F(ChartExportTest, ChartMenuSavesTheListedSeriesAndPicture) {
    BuildNet();
    TFormChart form(Engine);
    form.show();
    form.MemoChoiced()->setPlainText("P");
    Chosen = QString::fromStdString((Folder / "series").string());
    // A right click on the chart offers the saves.
    QTest::mouseClick(form.ChartView(), Qt::RightButton, {}, QPoint(50, 50));
    auto* menu = form.findChild<QMenu*>("ChartMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    form.findChild<QAction*>("ButtonSaveChartSeries")->trigger();
    EXPECT_EQ(Filters.value(0), "Таблиця CSV (*.csv)");
    const auto rows = ParseCsv(ReadBytes(Folder / "series.csv"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (TCsvRow{"time", "P"}));
    EXPECT_EQ(rows[3], (TCsvRow{"20.5", "2"}));

    Chosen = QString::fromStdString((Folder / "picture.png").string());
    form.RefreshChart();
    form.findChild<QAction*>("ButtonSaveChartPicture")->trigger();
    EXPECT_EQ(Read(Folder / "picture.png").size(), form.ChartView()->size());
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join("\n").toStdString();
}

} // namespace
