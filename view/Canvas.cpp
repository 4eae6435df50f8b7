#include "Canvas.h"

#include "FrameImage.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

QFont NamedFont(const char* family, const char* fallback, int pointSize, bool bold) {
    static const bool substituted = [] {
        QFont::insertSubstitution("Courier New", "Liberation Mono");
        QFont::insertSubstitution("Ms Sans Serif", "Liberation Sans");
        QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
        return true;
    }();
    (void)substituted;
    QFont font(family);
    font.setFamilies({family, fallback});
    font.setPointSize(pointSize < 1 ? 1 : pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

QImage MakeFrameImage(int width, int height, double devicePixelRatio) {
    const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    auto devicePixels = [ratio](int size) {
        return std::max(1, static_cast<int>(std::ceil(size * ratio)));
    };
    QImage image(devicePixels(width), devicePixels(height), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(3780); // 96 dots per inch
    image.setDotsPerMeterY(3780);
    return image;
}

QColor ToQColor(TColor color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QFont ObjectFont(int pointSize) {
    // Fonts are looked up once a size: every object of every frame asks for one.
    static std::map<int, QFont> cache;
    auto found = cache.find(pointSize);
    if (found == cache.end())
        found =
            cache.emplace(pointSize, NamedFont("Courier New", "Liberation Mono", pointSize, true))
                .first;
    return found->second;
}

QFont TimeLineFont(int pointSize) {
    return NamedFont("Ms Sans Serif", "Liberation Sans", pointSize, false);
}

void SetPen(QPainter& painter, TColor color, int width) {
    QPen pen(ToQColor(color));
    pen.setWidth(width < 0 ? 0 : width);
    pen.setStyle(Qt::SolidLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
}

void SetDottedPen(QPainter& painter, TColor color) {
    QPen pen(ToQColor(color));
    pen.setWidth(1);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
}

void SetBrush(QPainter& painter, TColor color) {
    painter.setBrush(ToQColor(color));
}

void ClearBrush(QPainter& painter) {
    painter.setBrush(Qt::NoBrush);
}

void Ellipse(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void Rectangle(QPainter& painter, int x1, int y1, int x2, int y2) {
    if (painter.brush().style() != Qt::NoBrush)
        painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), painter.brush());
    painter.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void Line(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawLine(x1, y1, x2, y2);
}

TTextSize TextExtent(const QPainter& painter, const QString& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void TextOut(QPainter& painter, int left, int top, const QString& text, TColor color) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QPen pen = painter.pen();
    painter.setPen(ToQColor(color));
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
    painter.setPen(pen);
}
