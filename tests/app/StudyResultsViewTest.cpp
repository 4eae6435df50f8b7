#include "StudyResultsView.h"
#include "LocaleGuard.h"
#include "StudyPlot.h"
#include "StudyReport.h"
#include "StudyTableText.h"

#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// A replication with one monitored vertex and one transition not monitored; the vertex's
// mean marking is `mean`, and its mean wait is missing when `wait` is absent.
TRunFigures Replication(std::uint64_t number, double mean, std::optional<double> wait) {
    TRunFigures row;
    row.Replication = number;
    row.Vertices.push_back({"Черга", true, {3.0, 40.0, 20.0, 0.0, 5.0, mean, wait}});
    row.Transitions.push_back(
        {"Обслуговування",
         false,
         {0.0, 19.0, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt}});
    return row;
}

TPointResult Point(std::vector<double> means) {
    TPointResult point;
    for (std::size_t i = 0; i < means.size(); ++i)
        point.Rows.push_back(Replication(i, means[i], i == 0 ? std::optional(2.5) : std::nullopt));
    return point;
}

TStudyHeader SweepHeader(std::vector<std::string> values) {
    TStudyHeader header;
    header.Net = "queue.kvl";
    header.Replications = 3;
    header.Sweep = "Обслуговування.delay";
    header.SweepValues = std::move(values);
    return header;
}

QStringList Column(const QTableWidget& table, int column) {
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row)
        texts << table.item(row, column)->text();
    return texts;
}

std::size_t NonWhitePixels(const QImage& image) {
    std::size_t count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

} // namespace

TEST(StudyTableText, RoundsTheHalfWidthToTwoDigitsAndTheMeanToItsPlace) {
    EXPECT_EQ(MeanWithHalfWidth(3.2149, 0.0712), "3.215 ± 0.071");
    EXPECT_EQ(MeanWithHalfWidth(1234.6, 56.7), "1235 ± 57");
    // An exact tie goes to the even digit, as every rounding of the program does.
    EXPECT_EQ(MeanWithHalfWidth(1234.5, 56.7), "1234 ± 57");
    // Rounding that carries into a third digit keeps two: 0.0996 is 0.10, not 0.100.
    EXPECT_EQ(MeanWithHalfWidth(2.4712, 0.0996), "2.47 ± 0.10");
    EXPECT_EQ(MeanWithHalfWidth(123456.7, 567), "123460 ± 570");
    EXPECT_EQ(MeanWithHalfWidth(-0.0001, 0.05), "0.000 ± 0.050");
    EXPECT_EQ(MeanWithHalfWidth(1.23456789e15, 3.4e12), "1.2346e+15 ± 3.4e+12");
    EXPECT_EQ(MeanWithHalfWidth(1.234567e-7, 2.3e-9), "1.235e-07 ± 2.3e-09");
}

TEST(StudyTableText, ShowsTheMeanAloneWithoutAHalfWidth) {
    EXPECT_EQ(MeanWithHalfWidth(10.0 / 3, std::nullopt), "3.33333");
    EXPECT_EQ(MeanWithHalfWidth(12, 0.0), "12 ± 0");
    EXPECT_EQ(MeanWithHalfWidth(INFINITY, 1.0), "∞");
    EXPECT_EQ(MeanWithHalfWidth(NAN, std::nullopt), "—");
}

TEST(StudyTableText, WritesAPointUnderACommaLocale) {
    TLocaleGuard locale("uk_UA.UTF-8");
    if (!locale.Active())
        GTEST_SKIP() << "no uk_UA.UTF-8 locale";
    EXPECT_EQ(MeanWithHalfWidth(3.2149, 0.0712), "3.215 ± 0.071");
    EXPECT_EQ(MeanWithHalfWidth(10.0 / 3, std::nullopt), "3.33333");
    EXPECT_EQ(TickText(0.65, 0.05), QString("0.65"));
}

TEST(StudyTableText, ShowsWindowFiguresOfMonitoredObjectsAndTheCounters) {
    const TStudyHeader header = SweepHeader({"0.6"});
    const std::vector<TStudyTableRow> rows = StudyTableRows(header, Point({1, 2, 3}).Rows);
    std::vector<std::string> captions;
    for (const TStudyTableRow& row : rows)
        captions.push_back(row.ObjectName + " " + FigureCaption(row.IsVertex, row.Figure));
    EXPECT_EQ(captions,
              (std::vector<std::string>{
                  "Черга received_total — отримано фішок усього", "Черга min — мін. маркування",
                  "Черга max — макс. маркування", "Черга mean — середнє маркування",
                  "Черга mean_wait — середнє очікування",
                  "Обслуговування launch_count — кількість запусків"}));
    // The mean wait only one replication has counts one.
    EXPECT_EQ(rows[4].Summary.Count, 1u);
    EXPECT_FALSE(rows[4].Summary.HalfWidth);
    EXPECT_EQ(rows[3].Summary.Count, 3u);
    EXPECT_DOUBLE_EQ(rows[3].Summary.Mean, 2);
    EXPECT_TRUE(StudyTableRows(header, {}).empty());
}

TEST(StudyResultsView, ShowsTheTableOfTheChosenValue) {
    TStudyResultsView view;
    EXPECT_FALSE(view.HasResults());
    EXPECT_TRUE(view.TableCsv().isEmpty());
    const TStudyHeader header = SweepHeader({"0.6", "0.7"});
    view.SetResults(header, {Point({1, 2, 3}), Point({5, 5, 5})});
    ASSERT_TRUE(view.HasPlot());
    ASSERT_EQ(view.ValueChooser()->count(), 2);
    EXPECT_EQ(view.ValueChooser()->itemText(1), QString("0.7"));
    const QTableWidget& table = *view.Table();
    EXPECT_EQ(Column(table, 0).first(), QString("Черга"));
    EXPECT_EQ(table.item(3, 1)->text(), QString("mean — середнє маркування"));
    EXPECT_EQ(table.item(3, 2)->text(), QString("2.0 ± 2.5")); // sd 1, t(0.975, 2) 4.303
    EXPECT_EQ(table.item(3, 3)->text(), QString("3"));
    EXPECT_EQ(table.item(4, 2)->text(), QString("2.5")); // one replication: the mean alone
    view.ValueChooser()->setCurrentIndex(1);
    EXPECT_EQ(table.item(3, 2)->text(), QString("5 ± 0"));
    EXPECT_EQ(view.TableCsv().toStdString(),
              StudyCsv(header, {Point({1, 2, 3}), Point({5, 5, 5})}, false));
    view.Clear();
    EXPECT_FALSE(view.HasResults());
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_TRUE(view.PlotPng().isEmpty());
}

TEST(StudyResultsView, AStudyWithoutASweepHasNoPlot) {
    TStudyResultsView view;
    TStudyHeader header = SweepHeader({});
    header.Sweep.clear();
    view.SetResults(header, {Point({1, 2})});
    EXPECT_TRUE(view.HasResults());
    EXPECT_FALSE(view.HasPlot());
    EXPECT_FALSE(view.ValueChooser()->isVisibleTo(&view));
    EXPECT_FALSE(view.FigureChooser()->isVisibleTo(&view));
    EXPECT_TRUE(view.PlotPng().isEmpty());
    EXPECT_TRUE(view.PlotSvg().isEmpty());
    EXPECT_TRUE(view.TableCsv().startsWith("value,replication,kind,object,statistic,n,mean"));
}

TEST(StudyResultsView, ExportsThePlotAsPngAndSvg) {
    TStudyResultsView view;
    view.SetResults(SweepHeader({"0.6", "0.7", "0.8"}),
                    {Point({1, 2, 3}), Point({2, 3, 4}), Point({4, 6, 5})});
    EXPECT_EQ(view.FigureChooser()->currentText(), QString("Черга: mean — середнє маркування"));
    EXPECT_EQ(view.PlotData().XTitle, QString("Обслуговування.delay"));

    QImage png;
    ASSERT_TRUE(png.loadFromData(view.PlotPng(), "PNG"));
    EXPECT_EQ(png.size(), QSize(TStudyResultsView::PlotWidth, TStudyResultsView::PlotHeight));
    EXPECT_GT(NonWhitePixels(png), 1000u);

    const QByteArray svg = view.PlotSvg();
    QXmlStreamReader reader(svg);
    bool titled = false;
    while (!reader.atEnd())
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"title")
            titled = reader.readElementText().contains("середнє маркування");
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_TRUE(titled);
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage drawn(600, 400, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    EXPECT_GT(NonWhitePixels(drawn), 500u);
}

TEST(StudyPlot, PlacesHigherMeansHigherWhereThePointsAreDrawn) {
    TStudyPlotData data;
    for (const double mean : {2.0, 7.0, 4.0})
        data.Points.push_back({"", double(data.Points.size()) * 0.1, mean, 0.5});
    const QRectF bounds(0, 0, 900, 600);
    const TStudyPlotFrame frame = StudyPlotFrame(data, bounds);
    const QPointF low = frame.Map(frame.PointX(data, 0), 2);
    const QPointF high = frame.Map(frame.PointX(data, 1), 7);
    const QPointF middle = frame.Map(frame.PointX(data, 2), 4);
    EXPECT_LT(high.y(), middle.y());
    EXPECT_LT(middle.y(), low.y());
    EXPECT_LT(low.x(), high.x());
    for (const QPointF& at : {low, high, middle})
        EXPECT_TRUE(frame.Area.contains(at));

    // The markers are where the mapping says.
    QImage image(900, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawStudyPlot(painter, data, bounds);
    painter.end();
    for (const QPointF& at : {low, high, middle}) {
        const QColor colour = image.pixelColor(at.toPoint());
        EXPECT_GT(colour.blue(), 150);
        EXPECT_LT(colour.red(), 100);
    }
}

TEST(StudyPlot, CopesWithOnePointEqualMeansMissingFiguresAndExtremeNumbers) {
    const QRectF bounds(0, 0, 600, 400);
    auto check = [&](const TStudyPlotData& data) {
        const TStudyPlotFrame frame = StudyPlotFrame(data, bounds);
        EXPECT_LT(frame.XLow, frame.XHigh);
        EXPECT_LT(frame.YLow, frame.YHigh);
        EXPECT_FALSE(frame.YTicks.empty());
        for (std::size_t i = 0; i < data.Points.size(); ++i) {
            if (data.Points[i].Mean) {
                EXPECT_TRUE(
                    frame.Area.contains(frame.Map(frame.PointX(data, i), *data.Points[i].Mean)))
                    << "point " << i;
            }
        }
        QImage image(600, 400, QImage::Format_RGB32);
        QPainter painter(&image);
        DrawStudyPlot(painter, data, bounds);
    };
    check({"", "", "", {{"0.6", 0.6, 3.0, std::nullopt}}});
    check({"", "", "", {{"1", 1.0, 0.0, 0.0}, {"2", 2.0, 0.0, 0.0}}});
    check({"", "", "", {{"1", 1.0, 5.0, 1.0}, {"2", 2.0, std::nullopt, {}}, {"3", 3.0, 6.0, 1.0}}});
    check({"", "", "", {{"1", 1.0, std::nullopt, {}}}});
    check({"", "", "", {{"1", 1.0, 1e300, 1e299}, {"2", 2.0, -1.5e308, 1e308}}});
    check({"", "", "", {{"1", 1e-300, 1e-300, 1e-301}, {"2", 2e-300, 3e-300, 1e-301}}});
    EXPECT_EQ(TickText(1.5e15, 1e14), QString("1.5e+15"));
    EXPECT_EQ(TickText(-2e-17, 0.1), QString("0.0"));
}

TEST(StudyPlot, SpacesTextValuesEvenlyWithTheirNames) {
    TStudyResultsView view;
    const TStudyHeader header = SweepHeader({"\"exponential\"", "\"uniform\"", "\"normal\""});
    view.SetResults(header, {Point({1, 2}), Point({2, 3}), Point({3, 4})});
    const TStudyPlotData& data = view.PlotData();
    ASSERT_EQ(data.Points.size(), 3u);
    EXPECT_EQ(data.Points[1].Label, QString("uniform"));
    const TStudyPlotFrame frame = StudyPlotFrame(data, QRectF(0, 0, 900, 600));
    EXPECT_FALSE(frame.Numeric);
    const double first = frame.Map(frame.PointX(data, 0), 0).x();
    const double second = frame.Map(frame.PointX(data, 1), 0).x();
    const double third = frame.Map(frame.PointX(data, 2), 0).x();
    EXPECT_NEAR(second - first, third - second, 1e-9);
    EXPECT_EQ(view.ValueChooser()->itemText(0), QString("exponential"));
    EXPECT_TRUE(view.TableCsv().contains("\nexponential,,vertex,"));
}

TEST(StudyResultsView, ShowsAStudyOfTheQueueExample) {
    TSimOptions options;
    options.NetFile = KVL_EXAMPLES "/queue.kvl";
    options.Interval = 2000;
    options.WarmUp = 100;
    options.Seed = 7;
    options.Study.Requested = true;
    options.Study.Replications = 3;
    options.Study.Sweep = "Обслуговування.delay=0.6:0.8:0.1";
    const TStudy study = PrepareStudy(options);
    const std::vector<TPointResult> points = RunStudy(study, {}, 1);
    TStudyResultsView view;
    view.resize(900, 700);
    view.SetResults(study.Header, points);
    EXPECT_EQ(view.ValueChooser()->count(), 3);
    EXPECT_GT(view.Table()->rowCount(), 4);
    EXPECT_TRUE(Column(*view.Table(), 2).join("\n").contains(" ± "));
    EXPECT_EQ(view.TableCsv().toStdString(), StudyCsv(study.Header, points, false));
    EXPECT_EQ(view.PlotData().Points.size(), 3u);
    EXPECT_FALSE(view.PlotPng().isEmpty());
}

TEST(StudyResultsView, APointWithoutReplicationsShowsAnEmptyTable) {
    TStudyResultsView view;
    const TStudyHeader header = SweepHeader({"0.6", "0.7"});
    view.SetResults(header, {TPointResult{}, Point({1, 2})});
    EXPECT_EQ(view.Table()->rowCount(), 0);
    EXPECT_EQ(view.TableCsv().count('\n'), 1 + 14);
    view.ValueChooser()->setCurrentIndex(1);
    EXPECT_GT(view.Table()->rowCount(), 0);
    EXPECT_FALSE(view.PlotData().Points[0].Mean);
}
