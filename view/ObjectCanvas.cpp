#include "ObjectCanvas.h"

#include "Canvas.h"

#include <QPainter>

TObjectCanvas::TObjectCanvas(QPainter& canvas, std::int64_t width, std::int64_t height)
    : Canvas(canvas), Width(static_cast<double>(width)), Height(static_cast<double>(height)) {}

TObjectCanvas::TFontSize& TObjectCanvas::Size(int pointSize) {
    auto found = Sizes.find(pointSize);
    if (found != Sizes.end())
        return found->second;
    // The metrics are those of the painter holding the font, as the drawing measures them.
    Canvas.setFont(ObjectFont(pointSize));
    CurrentSize = pointSize;
    TFontSize& size = Sizes[pointSize];
    size.Font = ObjectFont(pointSize);
    size.Metrics = std::make_unique<QFontMetrics>(Canvas.fontMetrics());
    return size;
}

void TObjectCanvas::UseObjectFont(int pointSize) {
    if (pointSize == CurrentSize)
        return;
    const TFontSize& size = Size(pointSize);
    if (pointSize == CurrentSize)
        return;
    Canvas.setFont(size.Font);
    CurrentSize = pointSize;
}

int TObjectCanvas::TextWidth(int pointSize, const QString& text) {
    TFontSize& size = Size(pointSize);
    auto found = size.Widths.constFind(text);
    if (found != size.Widths.constEnd())
        return *found;
    const int width = size.Metrics->horizontalAdvance(text);
    size.Widths.insert(text, width);
    return width;
}

int TObjectCanvas::TextHeight(int pointSize) {
    return Size(pointSize).Metrics->height();
}

void TObjectCanvas::Text(int pointSize, int left, int top, const QString& text, TColor color) {
    UseObjectFont(pointSize);
    // The painter keeps the text's pen: every object sets its own pen before its shapes.
    Canvas.setPen(ToQColor(color));
    Canvas.drawText(QPoint(left, top + Size(pointSize).Metrics->ascent()), text);
}

bool TObjectCanvas::Meets(const TScreenBox& box) const {
    return box.Right >= 0 && box.Left <= Width && box.Bottom >= 0 && box.Top <= Height;
}

bool TObjectCanvas::SegmentMeets(TPoint a, TPoint b, double reach) const {
    return SegmentMeetsRectangle(a, b, -reach, -reach, Width + reach, Height + reach);
}

TScreenBox TObjectCanvas::TextBox(int left, int top, int width, int height) {
    const double room = height + 2.0;
    return {left - room, top - room, left + width + room, top + height + room};
}
