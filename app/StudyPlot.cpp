#include "StudyPlot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QColor kSeriesColor(31, 95, 191);
const QColor kGridColor(225, 225, 225);
const QColor kAxisColor(60, 60, 60);
constexpr int kMostTicks = 60;

QFont PlotFont(double pixels, bool bold = false) {
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(1, int(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// Widens an empty or one-valued range around its value, and pads a real one by `share`.
void Widen(double& low, double& high, double share) {
    const double span = high / 2 - low / 2;
    if (span <= std::max(std::fabs(low), std::fabs(high)) * 1e-12) {
        const double centre = low / 2 + high / 2;
        const double pad = centre != 0 ? std::fabs(centre) * 0.1 : 1;
        low = centre - pad;
        high = centre + pad;
        return;
    }
    low -= span * 2 * share;
    high += span * 2 * share;
}

std::vector<double> Ticks(double low, double high, double step) {
    std::vector<double> ticks;
    if (!(step > 0) || !std::isfinite(step))
        return ticks;
    const double first = std::ceil(low / step - 1e-9) * step;
    for (int i = 0; i < kMostTicks; ++i) {
        double tick = first + i * step;
        if (tick > high + step * 1e-9)
            break;
        if (std::fabs(tick) < step * 1e-9)
            tick = 0;
        ticks.push_back(tick);
    }
    return ticks;
}

bool HasMean(const TStudyPlotPoint& point) {
    return point.Mean && std::isfinite(*point.Mean);
}

// The ends of a point's bar: the mean with the half-width on both sides, when finite.
std::pair<double, double> BarEnds(const TStudyPlotPoint& point) {
    const double mean = *point.Mean;
    if (!point.HalfWidth || !std::isfinite(*point.HalfWidth))
        return {mean, mean};
    const double low = mean - *point.HalfWidth, high = mean + *point.HalfWidth;
    if (!std::isfinite(low) || !std::isfinite(high))
        return {mean, mean};
    return {low, high};
}

bool IsNumeric(const TStudyPlotData& data) {
    return !data.Points.empty() &&
           std::all_of(data.Points.begin(), data.Points.end(), [](const TStudyPlotPoint& point) {
               return point.Value && std::isfinite(*point.Value);
           });
}

} // namespace

double NiceStep(double low, double high, int count) {
    const double raw = (high / 2 - low / 2) / std::max(1, count) * 2;
    if (!(raw > 0) || !std::isfinite(raw))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double mantissa : {1.0, 2.0, 5.0})
        if (raw <= mantissa * power * (1 + 1e-9))
            return mantissa * power;
    return 10 * power;
}

QString TickText(double value, double step) {
    if (std::fabs(value) < step * 1e-9)
        value = 0;
    const int stepExponent = int(std::floor(std::log10(step) + 1e-9));
    const double size = std::max(std::fabs(value), step);
    if (step >= 1e6 || step < 1e-5 || size >= 1e9) {
        const int digits = std::clamp(int(std::floor(std::log10(size))) - stepExponent + 1, 1, 17);
        return QString::number(value, 'g', digits);
    }
    return QString::number(value, 'f', std::max(0, -stepExponent));
}

QPointF TStudyPlotFrame::Map(double x, double y) const {
    const double xShare = (x / 2 - XLow / 2) / (XHigh / 2 - XLow / 2);
    const double yShare = (y / 2 - YLow / 2) / (YHigh / 2 - YLow / 2);
    return {Area.left() + xShare * Area.width(), Area.bottom() - yShare * Area.height()};
}

double TStudyPlotFrame::PointX(const TStudyPlotData& data, std::size_t index) const {
    return Numeric ? *data.Points[index].Value : double(index);
}

TStudyPlotFrame StudyPlotFrame(const TStudyPlotData& data, const QRectF& bounds) {
    TStudyPlotFrame frame;
    frame.FontPixels = std::clamp(std::min(bounds.width(), bounds.height()) / 40, 11.0, 24.0);
    const QFontMetricsF metrics(PlotFont(frame.FontPixels));
    const QFontMetricsF titleMetrics(PlotFont(frame.FontPixels * 1.2, true));
    const double line = metrics.lineSpacing(), pad = frame.FontPixels * 0.8;
    const double tickLength = frame.FontPixels * 0.4;

    // y: the means with their bars, widened to whole ticks.
    double low = INFINITY, high = -INFINITY;
    for (const TStudyPlotPoint& point : data.Points)
        if (HasMean(point)) {
            const auto [barLow, barHigh] = BarEnds(point);
            low = std::min(low, barLow);
            high = std::max(high, barHigh);
        }
    if (low > high) {
        low = 0;
        high = 1;
    }
    Widen(low, high, 0.05);
    const double top = bounds.top() + pad + titleMetrics.lineSpacing() + pad;
    const double bottom = bounds.bottom() - pad - line - pad * 0.5 - line - tickLength;
    const int yCount = std::clamp(int((bottom - top) / (line * 2.5)), 2, 10);
    const double yStep = NiceStep(low, high, yCount);
    frame.YLow =
        std::isfinite(std::floor(low / yStep) * yStep) ? std::floor(low / yStep) * yStep : low;
    frame.YHigh =
        std::isfinite(std::ceil(high / yStep) * yStep) ? std::ceil(high / yStep) * yStep : high;
    frame.YStep = yStep;
    frame.YTicks = Ticks(frame.YLow, frame.YHigh, yStep);
    double labelWidth = 0;
    for (const double tick : frame.YTicks)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(TickText(tick, yStep)));
    const double left = bounds.left() + pad + line + pad * 0.5 + labelWidth + tickLength + 2;
    const double right = bounds.right() - std::max(pad * 2, frame.FontPixels * 2.5);
    frame.Area =
        QRectF(QPointF(left, top), QPointF(std::max(left + 1, right), std::max(top + 1, bottom)));

    // x: the swept values padded a little, or the points' positions.
    frame.Numeric = IsNumeric(data);
    if (frame.Numeric) {
        frame.XLow = INFINITY;
        frame.XHigh = -INFINITY;
        for (const TStudyPlotPoint& point : data.Points) {
            frame.XLow = std::min(frame.XLow, *point.Value);
            frame.XHigh = std::max(frame.XHigh, *point.Value);
        }
        Widen(frame.XLow, frame.XHigh, 0.06);
        const int xCount = std::clamp(
            int(frame.Area.width() / (metrics.horizontalAdvance("0.000000") * 1.6)), 2, 10);
        frame.XStep = NiceStep(frame.XLow, frame.XHigh, xCount);
        frame.XTicks = Ticks(frame.XLow, frame.XHigh, frame.XStep);
    } else {
        frame.XLow = -0.5;
        frame.XHigh = std::max<double>(1, data.Points.size()) - 0.5;
        for (std::size_t i = 0; i < data.Points.size(); ++i)
            frame.XTicks.push_back(double(i));
    }
    return frame;
}

void DrawStudyPlot(QPainter& painter, const TStudyPlotData& data, const QRectF& bounds) {
    const TStudyPlotFrame frame = StudyPlotFrame(data, bounds);
    const QFont font = PlotFont(frame.FontPixels);
    const QFont titleFont = PlotFont(frame.FontPixels * 1.2, true);
    const QFontMetricsF metrics(font);
    const double pad = frame.FontPixels * 0.8, tickLength = frame.FontPixels * 0.4;
    const QRectF& area = frame.Area;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(bounds, Qt::white);

    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(bounds.left() + pad, bounds.top() + pad, bounds.width() - 2 * pad,
                            area.top() - bounds.top() - 2 * pad),
                     Qt::AlignCenter, data.Title);

    // Grid, axes, ticks and their numbers.
    painter.setFont(font);
    for (const double tick : frame.YTicks) {
        const double y = frame.Map(frame.XLow, tick).y();
        painter.setPen(QPen(kGridColor, 1));
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(QPen(kAxisColor, 1));
        painter.drawLine(QPointF(area.left() - tickLength, y), QPointF(area.left(), y));
        painter.drawText(QRectF(bounds.left(), y - metrics.lineSpacing() / 2,
                                area.left() - tickLength - 3 - bounds.left(),
                                metrics.lineSpacing()),
                         Qt::AlignRight | Qt::AlignVCenter, TickText(tick, frame.YStep));
    }
    const double slot =
        frame.Numeric ? area.width() : area.width() / std::max<double>(1, frame.XTicks.size());
    for (std::size_t i = 0; i < frame.XTicks.size(); ++i) {
        const double x = frame.Map(frame.XTicks[i], frame.YLow).x();
        painter.setPen(QPen(kAxisColor, 1));
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + tickLength));
        QString label =
            frame.Numeric ? TickText(frame.XTicks[i], frame.XStep) : data.Points[i].Label;
        if (!frame.Numeric)
            label = metrics.elidedText(label, Qt::ElideRight, slot - 4);
        painter.drawText(
            QRectF(x - slot / 2, area.bottom() + tickLength + 2, slot, metrics.lineSpacing()),
            Qt::AlignHCenter | Qt::AlignTop, label);
    }
    painter.setPen(QPen(kAxisColor, 1.2));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());

    // Axis titles: x under the numbers, y turned along the axis.
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), bounds.bottom() - pad - metrics.lineSpacing(),
                            area.width(), metrics.lineSpacing()),
                     Qt::AlignCenter,
                     metrics.elidedText(data.XTitle, Qt::ElideRight, bounds.width() - 2 * pad));
    painter.save();
    painter.translate(bounds.left() + pad, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, 0, area.height(), metrics.lineSpacing()),
                     Qt::AlignCenter,
                     metrics.elidedText(data.YTitle, Qt::ElideRight, area.height()));
    painter.restore();

    const bool anyMean = std::any_of(data.Points.begin(), data.Points.end(), HasMean);
    if (!anyMean) {
        painter.setPen(kAxisColor);
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                         "Жодне значення не має цього показника");
        painter.restore();
        return;
    }

    // The line through the means, broken where a value has none.
    const double width = std::max(1.5, frame.FontPixels / 8);
    painter.setPen(QPen(kSeriesColor, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    bool drawing = false;
    for (std::size_t i = 0; i < data.Points.size(); ++i) {
        if (!HasMean(data.Points[i])) {
            drawing = false;
            continue;
        }
        const QPointF at = frame.Map(frame.PointX(data, i), *data.Points[i].Mean);
        drawing ? path.lineTo(at) : path.moveTo(at);
        drawing = true;
    }
    painter.drawPath(path);

    // Confidence bars with caps, and the points.
    const double cap = frame.FontPixels * 0.45, radius = frame.FontPixels * 0.3;
    for (std::size_t i = 0; i < data.Points.size(); ++i) {
        if (!HasMean(data.Points[i]))
            continue;
        const double x = frame.PointX(data, i);
        const auto [barLow, barHigh] = BarEnds(data.Points[i]);
        if (barHigh > barLow) {
            const QPointF from = frame.Map(x, barLow), to = frame.Map(x, barHigh);
            painter.setPen(QPen(kSeriesColor, std::max(1.2, width * 0.7)));
            painter.drawLine(from, to);
            painter.drawLine(from - QPointF(cap, 0), from + QPointF(cap, 0));
            painter.drawLine(to - QPointF(cap, 0), to + QPointF(cap, 0));
        }
        painter.setPen(QPen(Qt::white, 1));
        painter.setBrush(kSeriesColor);
        painter.drawEllipse(frame.Map(x, *data.Points[i].Mean), radius, radius);
        painter.setBrush(Qt::NoBrush);
    }
    painter.restore();
}

TStudyPlotWidget::TStudyPlotWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 220);
}

void TStudyPlotWidget::SetData(const TStudyPlotData& data) {
    Data_ = data;
    update();
}

void TStudyPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawStudyPlot(painter, Data_, rect());
}
