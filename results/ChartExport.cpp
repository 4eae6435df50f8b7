#include "ChartExport.h"

#include "Canvas.h"
#include "ChartDrawing.h"
#include "CsvText.h"
#include "DialogControls.h"
#include "ExportFile.h"
#include "FrameImage.h"
#include "FramePicture.h"
#include "HistoryCsv.h"
#include "NetObjects.h"
#include "TextCodec.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <algorithm>

namespace {

const char* const kNoSeries =
    "Графік порожній: додайте до списку «Вибрані об'єкти» об'єкти моніторингу.";

// The position of the listed object of the chart's kind, or -1.
std::int32_t FindCharted(const TEngine& engine, const std::string& name) {
    return engine.Chart.ChartType == chVertexMarkings ? FindVertex(engine.Net, name)
                                                      : FindTransition(engine.Net, name);
}

} // namespace

QString ExportNameBesideNet(const TEngine& engine, const QString& suffix) {
    if (engine.FileName.empty())
        return "net" + suffix;
    const QFileInfo net(QString::fromStdString(engine.FileName.string()));
    return net.dir().filePath(net.completeBaseName() + suffix);
}

bool ChartHasSeries(const TEngine& engine, const std::vector<std::string>& names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return FindCharted(engine, name) >= 0; });
}

QByteArray ChartPng(const TEngine& engine) {
    const auto& bitmap = engine.Chart.ChartScreenBitmap;
    if (!bitmap || bitmap->Image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bitmap->Image.save(&buffer, "PNG");
    return bytes;
}

QByteArray ChartSvg(TEngine& engine, const std::vector<std::string>& names) {
    const TEngineChart& chart = engine.Chart;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(chart.ChartWidth, chart.ChartHeight));
    generator.setViewBox(QRect(0, 0, chart.ChartWidth, chart.ChartHeight));
    generator.setTitle("Графік");
    // Fonts are sized in points: at the bitmap's resolution they take the pixels they take on
    // the screen.
    if (chart.ChartBitmap && !chart.ChartBitmap->Image.isNull())
        generator.setResolution(chart.ChartBitmap->Image.logicalDpiX());
    {
        QPainter canvas(&generator);
        canvas.fillRect(QRect(0, 0, chart.ChartWidth, chart.ChartHeight),
                        ToQColor(chart.ChartBackColor));
        PaintChart(engine, canvas, names);
    }
    // The generator gives the size in millimetres, which viewers turn back into pixels at their
    // own resolution; the picture's size is the chart's, in pixels.
    static const QRegularExpression kSize(R"(<svg width="[^"]*" height="[^"]*")");
    const QString size =
        QString(R"(<svg width="%1" height="%2")").arg(chart.ChartWidth).arg(chart.ChartHeight);
    return QString::fromUtf8(bytes).replace(kSize, size).toUtf8();
}

std::string ChartSeriesCsv(const TEngine& engine, const std::vector<std::string>& names) {
    if (engine.Chart.ChartType == chVertexMarkings) {
        std::vector<THistoryColumn> columns;
        for (const std::string& name : names) {
            const std::int32_t at = FindVertex(engine.Net, name);
            if (at < 0)
                continue;
            const TVertex& vertex = *engine.Net.Vertices[at];
            // A name listed twice draws the same line twice; its data goes out once.
            if (std::none_of(columns.begin(), columns.end(), [&](const THistoryColumn& column) {
                    return column.History == &vertex.History;
                }))
                columns.push_back({vertex.Name, false, &vertex.History});
        }
        return HistoryColumnsCsv(columns);
    }
    std::string csv = "object,launch_count\n";
    std::vector<const TTransition*> listed;
    for (const std::string& name : names) {
        const std::int32_t at = FindTransition(engine.Net, name);
        if (at < 0)
            continue;
        const TTransition* transition = engine.Net.Transitions[at].get();
        if (std::find(listed.begin(), listed.end(), transition) != listed.end())
            continue;
        listed.push_back(transition);
        csv += CsvField(Win1251ToUtf8(transition->Name)) + "," +
               std::to_string(transition->LaunchCount) + "\n";
    }
    return csv;
}

bool SaveChartPicture(QWidget* parent, TEngine& engine, const std::vector<std::string>& names) {
    if (!ChartHasSeries(engine, names)) {
        ShowMessageBox(parent, QString::fromUtf8(kNoSeries));
        return false;
    }
    if (engine.Chart.ChartWidth <= 0 || engine.Chart.ChartHeight <= 0) {
        ShowMessageBox(parent, "Графік ще не намальовано: відкрийте вікно «Графіки».");
        return false;
    }
    const QString chosen = ChooseExportFile(parent, "Зберегти рисунок графіка",
                                            "Рисунок PNG (*.png);;Рисунок SVG (*.svg)",
                                            ExportNameBesideNet(engine, "-chart.png"));
    if (chosen.isEmpty())
        return false;
    const QString path = WithDefaultExtension(chosen, "png");
    const bool svg = PictureFormatOf(path) == TPictureFormat::Svg;
    const QByteArray bytes = svg ? ChartSvg(engine, names) : ChartPng(engine);
    return WriteExportFile(parent, path, bytes);
}

bool SaveChartSeries(QWidget* parent, const TEngine& engine,
                     const std::vector<std::string>& names) {
    if (!ChartHasSeries(engine, names)) {
        ShowMessageBox(parent, QString::fromUtf8(kNoSeries));
        return false;
    }
    // The data as it is now: the dialog lets the simulation go on meanwhile.
    const std::string csv = ChartSeriesCsv(engine, names);
    const QString chosen = ChooseExportFile(parent, "Зберегти ряди графіка", "Таблиця CSV (*.csv)",
                                            ExportNameBesideNet(engine, "-chart.csv"));
    if (chosen.isEmpty())
        return false;
    return WriteExportFile(parent, WithDefaultExtension(chosen, "csv"),
                           QByteArray::fromStdString(csv));
}
