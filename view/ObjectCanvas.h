// The painter of one frame's objects with what the objects would otherwise set up again each:
// the object font set last, the metrics and measured text widths of each font size, and the
// tests that tell whether a box or a segment in window pixels can leave a pixel in the frame.
#pragma once

#include "EngineTypes.h"
#include "Geometry.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>

#include <map>
#include <memory>

class QPainter;

// A box in window pixels, edges included.
struct TScreenBox {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

class TObjectCanvas {
public:
    // The frame is the window rectangle width x height from (0, 0).
    TObjectCanvas(QPainter& canvas, std::int64_t width, std::int64_t height);

    QPainter& Painter() { return Canvas; }

    // Makes the object font of the size the painter's font, unless it already is.
    void UseObjectFont(int pointSize);
    // The advance width and the line height of the text in the object font of the size; the
    // widths are measured once a frame.
    int TextWidth(int pointSize, const QString& text);
    int TextHeight(int pointSize);
    // Draws the text in the colour in the object font of the size with its top-left corner at
    // (left, top). The painter is left with the text's pen: every object sets its own pen first.
    void Text(int pointSize, int left, int top, const QString& text, TColor color);

    // Whether something within the box can colour a pixel of the frame.
    bool Meets(const TScreenBox& box) const;
    // Whether a line between the points, `reach` pixels thick on each side, can.
    bool SegmentMeets(TPoint a, TPoint b, double reach) const;
    // The box about a text placed at (left, top), with room for glyphs that reach beyond their
    // advance and line (accents, overhanging bold letters, antialiased edges).
    static TScreenBox TextBox(int left, int top, int width, int height);

private:
    struct TFontSize {
        QFont Font;
        std::unique_ptr<QFontMetrics> Metrics;
        QHash<QString, int> Widths;
    };
    TFontSize& Size(int pointSize);

    QPainter& Canvas;
    double Width;
    double Height;
    std::map<int, TFontSize> Sizes;
    int CurrentSize = -1;
};
