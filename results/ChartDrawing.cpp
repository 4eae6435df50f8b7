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
                       const TVertex& vertex) {
    const auto& samples = vertex.History.Samples;
    if (samples.empty())
        return;
    const TEngineChart& c = e.Chart;
    const TColor color = c.SeriesColors[n];
    SetPen(canvas, color, 3);
    auto point = [&](double time, double value) {
        return Pixel(c, time * c.ScaleX, -(value * c.ScaleY));
    };
    QPointF at =
        point(0, vertex.History.LeadValue()); // the first value recorded, before compaction
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

void DrawChart(TEngine& e, const std::vector<std::string>& names) {
    TEngineChart& c = e.Chart;
    if (!c.ChartBitmap)
        ResizeChart(c, c.ChartWidth, c.ChartHeight);
    c.ChartBitmap->Image.fill(ToQColor(c.ChartBackColor));
    {
        QPainter canvas(&c.ChartBitmap->Image);
        DrawChartGrid(c, canvas);
        std::size_t n = 0;
        for (const std::string& name : names) {
            const std::int32_t at = c.ChartType == chVertexMarkings ? FindVertex(e.Net, name)
                                                                    : FindTransition(e.Net, name);
            if (at < 0)
                continue;
            if (c.SeriesColors.size() <= n) {
                const std::int32_t blue = RandomInteger(e.Random, 256);
                const std::int32_t green = RandomInteger(e.Random, 256);
                const std::int32_t red = RandomInteger(e.Random, 256);
                c.SeriesColors.push_back(MakeColor(red, green, blue));
            }
            if (c.ChartType == chVertexMarkings)
                DrawMarkingSeries(e, canvas, n, name, *e.Net.Vertices[at]);
            else
                DrawLaunchBar(e, canvas, n, name, *e.Net.Transitions[at]);
            ++n;
        }
        ClearBrush(canvas);
        SetPen(canvas, 0, 1);
        Rectangle(canvas, 0, 0, c.ChartWidth, c.ChartHeight);
    }
    c.ChartScreenBitmap->Image = c.ChartBitmap->Image;
}
