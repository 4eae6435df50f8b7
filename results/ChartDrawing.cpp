#include "ChartDrawing.h"

#include "Canvas.h"
#include "FrameImage.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "Random.h"
#include "TextCodec.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr long kMaxGridSteps = 10000000;

QPointF Pixel(const TEngineChart& c, double x, double y) {
    const TChartPoint p = ChartToPixel(c, x, y);
    return {p.X, p.Y};
}

long FirstStep(double edge, double step) {
    return std::max(1L, static_cast<long>(RoundHalfEven(std::fabs(edge) / step)) - 1);
}

} // namespace

void ResizeChart(TEngineChart& c, int width, int height) {
    c.ChartWidth = std::max(0, width);
    c.ChartHeight = height;
    if (!c.ChartBitmap)
        c.ChartBitmap = std::make_shared<TFrameImage>();
    if (!c.ChartScreenBitmap)
        c.ChartScreenBitmap = std::make_shared<TFrameImage>();
    c.ChartBitmap->Image = MakeFrameImage(c.ChartWidth, c.ChartHeight);
    c.ChartScreenBitmap->Image = MakeFrameImage(c.ChartWidth, c.ChartHeight);
    c.ChartBitmap->Image.fill(ToQColor(c.ChartBackColor));
    c.ChartScreenBitmap->Image.fill(ToQColor(c.ChartBackColor));
}

bool IsNameListed(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void DrawChartGrid(const TEngineChart& c, QPainter& canvas) {
    const TChartPoint topLeft = PixelToChart(c, 0, 0);
    const TChartPoint bottomRight = PixelToChart(c, c.ChartWidth, c.ChartHeight);
    const double left = topLeft.X, top = topLeft.Y, right = bottomRight.X, bottom = bottomRight.Y;
    const TChartPoint origin = ChartToPixel(c, 0, 0);
    const double x0 = origin.X, y0 = origin.Y;
    SetPen(canvas, c.ChartAxisColor, 2);
    canvas.setFont(ObjectFont(8));
    if (10 < y0 && y0 < c.ChartHeight)
        canvas.drawLine(QPointF(0, y0), QPointF(c.ChartWidth, y0));
    if (0 < x0 && x0 < c.ChartWidth)
        canvas.drawLine(QPointF(x0, 0), QPointF(x0, c.ChartHeight));
    SetPen(canvas, c.ChartAxisColor, 1);
    const bool labelX = 0 < y0 && y0 < c.ChartHeight;
    const bool labelY = 0 < x0 && x0 < c.ChartWidth;
    auto vertical = [&](double x) {
        const double px = ChartToPixel(c, x, 0).X;
        canvas.drawLine(QPointF(px, 0), QPointF(px, c.ChartHeight));
        if (labelX)
            TextOut(canvas, static_cast<int>(px), static_cast<int>(y0),
                    QString::fromStdString(FloatToText("", x / c.ScaleX)), c.ChartAxisColor);
    };
    auto horizontal = [&](double y) {
        const double py = ChartToPixel(c, 0, y).Y;
        canvas.drawLine(QPointF(0, py), QPointF(c.ChartWidth, py));
        if (labelY)
            TextOut(canvas, static_cast<int>(x0), static_cast<int>(py),
                    QString::fromStdString(FloatToText("", -y / c.ScaleY)), c.ChartAxisColor);
    };
    for (const TEngineGraphGridLevel& level : c.ChartGrid.Levels) {
        if (!(level.ScaleFrom <= c.ChartZoom && c.ChartZoom <= level.ScaleTo))
            continue;
        const double s = level.Step;
        for (int sign : {1, -1}) {
            for (long i = right < 0 && sign < 0  ? FirstStep(right, s)
                          : left > 0 && sign > 0 ? FirstStep(left, s)
                                                 : 1;
                 i <= kMaxGridSteps; ++i) {
                const double x = sign * i * s;
                if ((sign > 0 && x >= right) || (sign < 0 && x < left))
                    break;
                if (x >= left && x < right)
                    vertical(x);
            }
            for (long j = bottom < 0 && sign < 0 ? FirstStep(bottom, s)
                          : top > 0 && sign > 0  ? FirstStep(top, s)
                                                 : 1;
                 j <= kMaxGridSteps; ++j) {
                const double y = sign * j * s;
                if ((sign > 0 && y >= bottom) || (sign < 0 && y < top))
                    break;
                if (y >= top && y < bottom)
                    horizontal(y);
            }
        }
    }
}

void DrawMarkingSeries(const TEngine& e, QPainter& canvas, std::size_t n, const std::string& name,
                       const TVertex& vertex, const TChartSeriesSummary& summary) {
    const auto& samples = vertex.History.Samples;
    if (samples.empty())
        return;
    const TEngineChart& c = e.Chart;
    const TColor color = c.SeriesColors[n];
    SetPen(canvas, color, 3);
    // Columns and rows are computed as ChartToPixel computes them, so each sample lands on the
    // pixel the full line would put it on; both only grow (rows only fall) with time (value).
    // The column, asked for at every step of the searches, repeats its arithmetic inline.
    const double left = c.ChartCenterX - c.ChartWidth / 2.0 / c.ChartZoom;
    auto column = [&](double time) {
        return std::nearbyint(c.ChartZoom * (time * c.ScaleX - left));
    };
    auto row = [&](double value) { return ChartToPixel(c, 0, -(value * c.ScaleY)).Y; };
    auto columnOf = [&](std::size_t i) { return column(samples[i].Time); };
    // Past this many pixels outside the chart a stroke of the 3-pixel pen colours nothing in it.
    constexpr double kOutside = 4;
    const std::size_t count = samples.size();
    std::size_t first = 0;
    for (std::size_t span = count; span > 0;) { // the first sample not left of the chart
        const std::size_t half = span / 2;
        if (columnOf(first + half) < -kOutside) {
            first += half + 1;
            span -= half + 1;
        } else
            span = half;
    }
    // The value and place the line comes from into sample `first`.
    double entering = samples[first > 0 ? first - 1 : 0].Value;
    if (first == 0)
        canvas.drawLine(QPointF(column(0), row(vertex.History.LeadValue())),
                        QPointF(columnOf(0), row(entering)));
    else
        canvas.drawLine(
            QPointF(columnOf(first - 1), row(entering)),
            QPointF(first < count ? columnOf(first) : column(e.Net.ModelTime), row(entering)));
    const double right = c.ChartWidth + kOutside;
    for (std::size_t i = first; i < count;) {
        const double x = columnOf(i);
        if (x > right)
            break;
        // Past the last sample of column x: doubling steps bound it, then bisection finds it.
        std::size_t low = i + 1, end = i + 1;
        for (std::size_t step = 1; end < count && columnOf(end) <= x; step *= 2) {
            low = end + 1;
            end = i + 2 * step;
        }
        end = std::min(end, count);
        while (low < end) {
            const std::size_t middle = low + (end - low) / 2;
            if (columnOf(middle) <= x)
                low = middle + 1;
            else
                end = middle;
        }
        TValueRange range = SampleValueRange(summary, vertex.History, i, end);
        range.Least = std::min(range.Least, entering);
        range.Greatest = std::max(range.Greatest, entering);
        canvas.drawLine(QPointF(x, row(range.Greatest)), QPointF(x, row(range.Least)));
        entering = samples[end - 1].Value;
        const double next = end < count ? columnOf(end) : column(e.Net.ModelTime);
        canvas.drawLine(QPointF(x, row(entering)), QPointF(next, row(entering)));
        i = end;
    }
    canvas.setFont(ObjectFont(8));
    TextOut(canvas, static_cast<int>(column(e.Net.ModelTime)),
            static_cast<int>(row(samples.back().Value)),
            QString::fromStdString(Win1251ToUtf8(name)), color);
}

void DrawMarkingSeriesFull(const TEngine& e, QPainter& canvas, std::size_t n,
                           const std::string& name, const TVertex& vertex) {
    const auto& samples = vertex.History.Samples;
    if (samples.empty())
        return;
    const TEngineChart& c = e.Chart;
    const TColor color = c.SeriesColors[n];
    SetPen(canvas, color, 3);
    auto point = [&](double time, double value) {
        return Pixel(c, time * c.ScaleX, -(value * c.ScaleY));
    };
    QPointF at = point(0, vertex.History.LeadValue());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const QPointF rise = point(samples[i].Time, samples[i].Value);
        canvas.drawLine(at, rise);
        const double next = i + 1 < samples.size() ? samples[i + 1].Time : e.Net.ModelTime;
        at = point(next, samples[i].Value);
        canvas.drawLine(rise, at);
    }
    canvas.setFont(ObjectFont(8));
    TextOut(canvas, static_cast<int>(at.x()), static_cast<int>(at.y()),
            QString::fromStdString(Win1251ToUtf8(name)), color);
}

void DrawLaunchBar(const TEngine& e, QPainter& canvas, std::size_t n, const std::string& name,
                   const TTransition& transition) {
    const TEngineChart& c = e.Chart;
    const TColor color = c.SeriesColors[n];
    SetPen(canvas, color, 1);
    SetBrush(canvas, color);
    const QPointF topLeft = Pixel(c, 16.0 * n * c.ScaleX, -(transition.LaunchCount * c.ScaleY));
    const QPointF bottomRight = Pixel(c, (16.0 * n + 16) * c.ScaleX, 0);
    Rectangle(canvas, static_cast<int>(topLeft.x()), static_cast<int>(topLeft.y()),
              static_cast<int>(bottomRight.x()), static_cast<int>(bottomRight.y()));
    canvas.setFont(ObjectFont(8));
    const QString text = QString::fromStdString(Win1251ToUtf8(name));
    TextOut(canvas, static_cast<int>(topLeft.x()),
            static_cast<int>(topLeft.y()) - TextExtent(canvas, text).Height, text, color);
}

void DrawChartLegend(const TEngineChart& c, QPainter& canvas,
                     const std::vector<std::string>& names) {
    if (names.empty())
        return;
    canvas.setFont(ObjectFont(8));
    constexpr int kLeft = 6, kTop = 6, kSquare = 10, kGap = 4;
    std::vector<QString> texts;
    int textWidth = 0, rowHeight = kSquare;
    for (const std::string& name : names) {
        texts.push_back(QString::fromStdString(Win1251ToUtf8(name)));
        const TTextSize size = TextExtent(canvas, texts.back());
        textWidth = std::max(textWidth, size.Width);
        rowHeight = std::max(rowHeight, size.Height);
    }
    SetPen(canvas, c.ChartAxisColor, 1);
    SetBrush(canvas, MakeColor(255, 255, 255));
    const int width = 2 * kGap + kSquare + kGap + textWidth;
    const int height = kGap + static_cast<int>(names.size()) * (rowHeight + kGap);
    Rectangle(canvas, kLeft, kTop, kLeft + width, kTop + height);
    for (std::size_t n = 0; n < texts.size(); ++n) {
        const int top = kTop + kGap + static_cast<int>(n) * (rowHeight + kGap);
        const int squareTop = top + (rowHeight - kSquare) / 2;
        SetPen(canvas, c.SeriesColors[n], 1);
        SetBrush(canvas, c.SeriesColors[n]);
        Rectangle(canvas, kLeft + kGap, squareTop, kLeft + kGap + kSquare, squareTop + kSquare);
        TextOut(canvas, kLeft + 2 * kGap + kSquare, top, texts[n], MakeColor(0, 0, 0));
    }
}

void FitChartToData(TEngine& e, const std::vector<std::string>& names) {
    TEngineChart& c = e.Chart;
    TChartExtent extent;
    bool any = false;
    for (const std::string& name : names) {
        if (c.ChartType == chVertexMarkings) {
            const std::int32_t at = FindVertex(e.Net, name);
            if (at < 0 || e.Net.Vertices[at]->History.Samples.empty())
                continue;
            const HistoryList& history = e.Net.Vertices[at]->History;
            TValueRange range = {history.LeadValue(), history.LeadValue()};
            for (const HistorySample& sample : history.Samples) {
                range.Least = std::min(range.Least, sample.Value);
                range.Greatest = std::max(range.Greatest, sample.Value);
            }
            const double end = std::max(e.Net.ModelTime, history.Samples.back().Time);
            extent = any ? TChartExtent{0, std::max(extent.TimeTo, end),
                                        std::min(extent.ValueFrom, range.Least),
                                        std::max(extent.ValueTo, range.Greatest)}
                         : TChartExtent{0, end, range.Least, range.Greatest};
        } else {
            const std::int32_t at = FindTransition(e.Net, name);
            if (at < 0)
                continue;
            const double launches = e.Net.Transitions[at]->LaunchCount;
            // bars 16 units wide side by side, one for each object found
            extent = {0, extent.TimeTo + 16, 0,
                      any ? std::max(extent.ValueTo, launches) : launches};
        }
        any = true;
    }
    if (!any)
        return;
    FitChartToExtent(c, extent);
}

void DrawChart(TEngine& e, const std::vector<std::string>& names) {
    TEngineChart& c = e.Chart;
    if (!c.ChartBitmap)
        ResizeChart(c, c.ChartWidth, c.ChartHeight);
    c.ChartBitmap->Image.fill(ToQColor(c.ChartBackColor));
    {
        QPainter canvas(&c.ChartBitmap->Image);
        PaintChart(e, canvas, names);
    }
    c.ChartScreenBitmap->Image = c.ChartBitmap->Image;
}

void PaintChart(TEngine& e, QPainter& canvas, const std::vector<std::string>& names) {
    TEngineChart& c = e.Chart;
    DrawChartGrid(c, canvas);
    std::vector<TChartSeriesSummary> summaries; // only those of the series drawn are kept
    std::vector<std::string> drawn;
    std::size_t n = 0;
    for (const std::string& name : names) {
        const std::int32_t at =
            c.ChartType == chVertexMarkings ? FindVertex(e.Net, name) : FindTransition(e.Net, name);
        if (at < 0)
            continue;
        if (c.SeriesColors.size() <= n) {
            const std::int32_t blue = RandomInteger(e.Random, 256);
            const std::int32_t green = RandomInteger(e.Random, 256);
            const std::int32_t red = RandomInteger(e.Random, 256);
            c.SeriesColors.push_back(MakeColor(red, green, blue));
        }
        if (c.ChartType == chVertexMarkings) {
            const TVertex& vertex = *e.Net.Vertices[at];
            TChartSeriesSummary summary;
            for (TChartSeriesSummary& kept : c.Summaries)
                if (kept.List == &vertex.History)
                    summary = std::move(kept);
            UpdateSummary(summary, vertex.History);
            DrawMarkingSeries(e, canvas, n, name, vertex, summary);
            summaries.push_back(std::move(summary));
        } else
            DrawLaunchBar(e, canvas, n, name, *e.Net.Transitions[at]);
        drawn.push_back(name);
        ++n;
    }
    c.Summaries = std::move(summaries);
    DrawChartLegend(c, canvas, drawn);
    ClearBrush(canvas);
    SetPen(canvas, 0, 1);
    Rectangle(canvas, 0, 0, c.ChartWidth, c.ChartHeight);
}
