// The pens, brushes, fonts and text placement that the frame and the objects are drawn with, in
// the terms of the drawing rules: colours as 0x00BBGGRR, rectangles from corner to corner with
// the far edge left out, text placed by its top-left corner from measured extents.
#pragma once

#include "EngineTypes.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <cstdint>

QColor ToQColor(TColor color);

// "Courier New" bold (the object texts) or "Ms Sans Serif" regular (the time line), in points;
// the names fall back to the metric-compatible fonts installed.
QFont ObjectFont(int pointSize);
QFont TimeLineFont(int pointSize);

// A solid pen of the colour and width (0 draws the thinnest line there is), or a dotted one.
void SetPen(QPainter& painter, TColor color, int width);
void SetDottedPen(QPainter& painter, TColor color);
void SetBrush(QPainter& painter, TColor color);
void ClearBrush(QPainter& painter);

// The outline and fill of the box from (x1, y1) to (x2, y2), far edges excluded.
void Ellipse(QPainter& painter, int x1, int y1, int x2, int y2);
void Rectangle(QPainter& painter, int x1, int y1, int x2, int y2);
void Line(QPainter& painter, int x1, int y1, int x2, int y2);

struct TTextSize {
    int Width = 0;
    int Height = 0;
};

TTextSize TextExtent(const QPainter& painter, const QString& text);
// Draws the text in the colour with its top-left corner at (left, top), with no background.
void TextOut(QPainter& painter, int left, int top, const QString& text, TColor color);
