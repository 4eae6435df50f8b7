#include "ObjectCanvas.h"

#include "Canvas.h"
#include "ObjectFaces.h"

#include <QPainter>

#include <algorithm>

TObjectCanvas::TObjectCanvas(QPainter& canvas, std::int64_t width, std::int64_t height,
                             TCanvasPass pass)
    : Canvas(canvas), Width(static_cast<double>(width)), Height(static_cast<double>(height)),
      Pass(pass) {}

void TObjectCanvas::Cover(const TScreenBox& box) {
    Covered.Left = std::min(Covered.Left, box.Left);
    Covered.Top = std::min(Covered.Top, box.Top);
    Covered.Right = std::max(Covered.Right, box.Right);
    Covered.Bottom = std::max(Covered.Bottom, box.Bottom);
}

TScreenBox TObjectCanvas::TakeCovered() {
    const TScreenBox covered = Covered;
    Covered = kNothingCovered;
    return covered;
}

TObjectFace& TObjectCanvas::Face(int pointSize) {
    auto found = Faces.find(pointSize);
    if (found == Faces.end())
        found = Faces.emplace(pointSize, &ObjectFace(pointSize, Canvas.device())).first;
    return *found->second;
}

void TObjectCanvas::UseObjectFont(int pointSize) {
    if (pointSize == CurrentSize)
        return;
    Canvas.setFont(Face(pointSize).Font);
    CurrentSize = pointSize;
}

int TObjectCanvas::TextWidth(int pointSize, const QString& text) {
    return Face(pointSize).Measured(text).Width;
}

int TObjectCanvas::TextHeight(int pointSize) {
    return Face(pointSize).Metrics.height();
}

void TObjectCanvas::Text(int pointSize, int left, int top, const QString& text, TColor color) {
    UseObjectFont(pointSize);
    // The painter keeps the text's pen: every object sets its own pen before its shapes.
    Canvas.setPen(ToQColor(color));
    TObjectFace& face = Face(pointSize);
    if (face.DrawsLaidOut)
        Canvas.drawStaticText(QPoint(left, top), face.Laid(text));
    else
        Canvas.drawText(QPoint(left, top + face.Metrics.ascent()), text);
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
