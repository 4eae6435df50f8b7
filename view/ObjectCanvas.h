// The painter of one frame's objects with what the objects would otherwise set up again each:
// the object font set last, the faces of the font sizes with their measured and laid-out texts,
// and the tests that tell whether a box or a segment in window pixels can leave a pixel in the
// frame. It also gathers the box that the pixels of the object drawn last lie in, and can
// measure objects without painting them.
#pragma once

#include "EngineTypes.h"
#include "Geometry.h"

#include <QString>

#include <map>

class QPainter;
struct TObjectFace;

// A box in window pixels, edges included.
struct TScreenBox {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

// Whether the objects are painted, or only placed and measured.
enum class TCanvasPass { Paint, Measure };

// The box of no pixels.
constexpr TScreenBox kNothingCovered{1e300, 1e300, -1e300, -1e300};

// Whether a box holds no pixels.
inline bool IsEmpty(const TScreenBox& box) {
    return box.Left > box.Right || box.Top > box.Bottom;
}

class TObjectCanvas {
public:
    // The frame is the window rectangle width x height from (0, 0).
    TObjectCanvas(QPainter& canvas, std::int64_t width, std::int64_t height,
                  TCanvasPass pass = TCanvasPass::Paint);

    QPainter& Painter() { return Canvas; }
    bool Paints() const { return Pass == TCanvasPass::Paint; }

    // An object that shows adds the boxes of its shapes and texts before it paints them.
    void Cover(const TScreenBox& box);
    // The box about everything covered since the last call (empty: Left > Right), and starts
    // afresh.
    TScreenBox TakeCovered();

    // Makes the object font of the size the painter's font, unless it already is.
    void UseObjectFont(int pointSize);
    // The advance width and the line height of the text in the object font of the size; a text
    // is measured once and remembered for later frames.
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
    TObjectFace& Face(int pointSize);

    QPainter& Canvas;
    double Width;
    double Height;
    TCanvasPass Pass;
    TScreenBox Covered = kNothingCovered;
    std::map<int, TObjectFace*> Faces;
    int CurrentSize = -1;
};
