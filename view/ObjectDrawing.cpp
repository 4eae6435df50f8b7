#include "ObjectDrawing.h"

#include "Canvas.h"
#include "Fades.h"
#include "Geometry.h"
#include "LaunchBuffer.h"
#include "NumberText.h"
#include "ObjectCanvas.h"
#include "TextCodec.h"
#include "Viewport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int Scaled(std::int32_t size, double scale) {
    return RoundToInt(size * scale);
}
int ScaledAtLeastOne(std::int32_t size, double scale) {
    return std::max(1, Scaled(size, scale));
}

bool NearView(const TEngineGraph& g, std::int64_t x, std::int64_t y, std::int64_t across,
              std::int64_t up, std::int64_t down) {
    return x + across >= g.VisibleLeft && x - across <= g.VisibleRight && y + up >= g.VisibleTop &&
           y - down <= g.VisibleBottom;
}

QString Text(const std::string& win1251) {
    return QString::fromStdString(Win1251ToUtf8(win1251));
}

// A text centred on x with its top at `top`, as placed on the canvas.
struct TPlacedText {
    int Size = 0;
    QString Text;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

TPlacedText Centred(TObjectCanvas& canvas, int size, QString text, int x, int top) {
    TPlacedText placed{size, std::move(text), 0, top, 0, canvas.TextHeight(size)};
    placed.Width = canvas.TextWidth(size, placed.Text);
    placed.Left = x - RoundToInt(placed.Width / 2.0);
    return placed;
}

TScreenBox Box(const TPlacedText& text) {
    return TObjectCanvas::TextBox(text.Left, text.Top, text.Width, text.Height);
}

void Draw(TObjectCanvas& canvas, const TPlacedText& text, TColor color) {
    canvas.Text(text.Size, text.Left, text.Top, text.Text, color);
}

// The box about a shape from (x1, y1) to (x2, y2) outlined with a pen `pen` pixels wide.
TScreenBox ShapeBox(double x1, double y1, double x2, double y2, int pen) {
    const double reach = pen / 2.0 + 2;
    return {x1 - reach, y1 - reach, x2 + reach, y2 + reach};
}

TScreenBox PointsBox(std::initializer_list<TPoint> points, int pen) {
    TScreenBox box{1e300, 1e300, -1e300, -1e300};
    for (TPoint p : points) {
        box.Left = std::min<double>(box.Left, p.X);
        box.Top = std::min<double>(box.Top, p.Y);
        box.Right = std::max<double>(box.Right, p.X);
        box.Bottom = std::max<double>(box.Bottom, p.Y);
    }
    return ShapeBox(box.Left, box.Top, box.Right, box.Bottom, pen);
}

// The rows a text of the size with its top at `top` can colour, over any columns.
TScreenBox TextRows(TObjectCanvas& canvas, int size, int top) {
    return TObjectCanvas::TextBox(0, top, 0, canvas.TextHeight(size));
}

// Whether some of the boxes reach the rows of the frame; a box that does not cannot meet it.
bool RowsMeet(const TObjectCanvas& canvas, std::initializer_list<TScreenBox> boxes) {
    for (const TScreenBox& box : boxes)
        if (canvas.Meets({0, box.Top, 0, box.Bottom}))
            return true;
    return false;
}

} // namespace

bool VertexNearView(const TVertex& v, const TEngineGraph& g) {
    const std::int64_t margin = 8LL * v.Radius;
    return NearView(g, v.X, v.Y, margin, margin, margin);
}

bool TransitionNearView(const TTransition& t, const TEngineGraph& g) {
    return NearView(g, t.X, t.Y, t.Width + 1200LL, t.Height + 500LL, t.Height + 500LL);
}

bool DrawVertex(TVertex& v, TObjectCanvas& canvas, const TEngineGraph& g) {
    if (!VertexNearView(v, g))
        return false;
    const TPoint s = ModelToScreen(g, v.X, v.Y);
    const int r = Scaled(v.Radius, g.Scale);
    const int pen = Scaled(v.LineWidth, g.Scale);
    const int nameSize = Scaled(v.NameFontSize, g.Scale);
    const int markSize = Scaled(v.MarkFontSize, g.Scale);
    // The name stands above the circle and the marking at its centre; the texts are placed, and
    // measured, only when the object's rows reach the frame.
    const TVertexColors colors = FadeColor(v, g.FrameTime);
    const int nameTop = s.Y - r - canvas.TextHeight(nameSize);
    const int markTop = s.Y - RoundToInt(canvas.TextHeight(markSize) / 2.0);
    const TScreenBox shape = ShapeBox(s.X - r, s.Y - r, s.X + r, s.Y + r, pen);
    if (!RowsMeet(canvas, {shape, TextRows(canvas, nameSize, nameTop),
                           TextRows(canvas, markSize, markTop)}))
        return false;
    const TPlacedText name = Centred(canvas, nameSize, Text(v.Name), s.X, nameTop);
    const TPlacedText marking = Centred(canvas, markSize, QString::number(v.Marking), s.X, markTop);
    if (!canvas.Meets(shape) && !canvas.Meets(Box(name)) && !canvas.Meets(Box(marking)))
        return false;
    for (const TScreenBox& box : {shape, Box(name), Box(marking)})
        canvas.Cover(box);
    if (!canvas.Paints())
        return true;

    QPainter& painter = canvas.Painter();
    SetBrush(painter, colors.Fill);
    SetPen(painter, colors.Line, pen);
    Ellipse(painter, s.X - r, s.Y - r, s.X + r, s.Y + r);
    Draw(canvas, name, colors.Line);
    Draw(canvas, marking, colors.Line);
    return true;
}

std::string TransitionParameterText(const TTransition& t) {
    std::string text = "t=" + FloatToText("", t.Delay);
    if (t.DelayType == dtUniform || t.DelayType == dtNormal)
        text += "±" + FloatToText("", t.Deviation);
    if (t.DelayType == dtNormal)
        text += "(norm)";
    if (t.DelayType == dtExponential)
        text += "(exp)";
    return text;
}

bool DrawTransition(TTransition& t, TObjectCanvas& canvas, const TEngineGraph& g) {
    if (!TransitionNearView(t, g))
        return false;
    const TPoint s = ModelToScreen(g, t.X, t.Y);
    const int w = ScaledAtLeastOne(t.Width, g.Scale);
    const int h = ScaledAtLeastOne(t.Height, g.Scale);
    const int nameSize = Scaled(t.NameFontSize, g.Scale);
    const int delaySize = Scaled(t.DelayFontSize, g.Scale);
    // The name stands above the bar, the parameters and the buffer count below it.
    const TColor c = FadeColor(t, g.FrameTime);
    const int nameTop = s.Y - h - canvas.TextHeight(nameSize);
    const int bufferTop = s.Y + h + RoundToInt(t.DelayFontSize * 1.2 * g.Scale);
    const TScreenBox shape = ShapeBox(s.X - w, s.Y - h, s.X + w, s.Y + h, 1);
    if (!RowsMeet(canvas,
                  {shape, TextRows(canvas, nameSize, nameTop), TextRows(canvas, delaySize, s.Y + h),
                   TextRows(canvas, delaySize, bufferTop)}))
        return false;
    const TPlacedText name = Centred(canvas, nameSize, Text(t.Name), s.X, nameTop);
    const TPlacedText parameters = Centred(
        canvas, delaySize, QString::fromStdString(TransitionParameterText(t)), s.X, s.Y + h);
    const TPlacedText buffer = Centred(
        canvas, delaySize, "b=" + QString::number(BufferCount(t.LaunchBuffer)), s.X, bufferTop);
    if (!canvas.Meets(shape) && !canvas.Meets(Box(name)) && !canvas.Meets(Box(parameters)) &&
        !canvas.Meets(Box(buffer)))
        return false;
    for (const TScreenBox& box : {shape, Box(name), Box(parameters), Box(buffer)})
        canvas.Cover(box);
    if (!canvas.Paints())
        return true;

    QPainter& painter = canvas.Painter();
    SetBrush(painter, c);
    SetPen(painter, c, 1);
    Rectangle(painter, s.X - w, s.Y - h, s.X + w, s.Y + h);
    Draw(canvas, name, c);
    Draw(canvas, parameters, c);
    Draw(canvas, buffer, c);
    return true;
}

bool ConnectionNearView(const TConnectionEnds& ends, const TEngineGraph& g) {
    // The line, its arrowhead and its count text lie within the margins about the segment; a
    // long connection crosses the view with both ends far outside it.
    return SegmentMeetsRectangle(ends.P1, ends.P2, g.VisibleLeft - 800.0, g.VisibleTop - 800.0,
                                 g.VisibleRight + 800.0, g.VisibleBottom + 500.0);
}

bool DrawConnection(TConnection& c, TObjectCanvas& canvas, TEngine& engine) {
    const TConnectionEnds ends = ConnectionEnds(c);
    if (!ConnectionNearView(ends, engine.Graph))
        return false;
    // A connection near the view settles its colour whether or not a pixel of it shows, so that
    // it looks the same when it scrolls in.
    SettleConnectionColor(c, engine);
    return DrawSettledConnection(c, ends, canvas, engine.Graph);
}

bool DrawSettledConnection(TConnection& c, const TConnectionEnds& ends, TObjectCanvas& canvas,
                           const TEngineGraph& g) {
    const std::int32_t arrow = g.Options.ConnectionArrowLength;
    const double phi = g.Options.ConnectionArrowAngle;
    const double side = RoundHalfEven(arrow / std::cos(phi * std::numbers::pi / 180));
    const double a = VectorAngle(ends.P2.X, ends.P2.Y, ends.P1.X, ends.P1.Y);
    const TPoint q1 = PolarPoint(ends.P2.X, ends.P2.Y, side, AddAngle(a, -phi));
    const TPoint q2 = PolarPoint(ends.P2.X, ends.P2.Y, side, AddAngle(a, phi));
    const TPoint e = PolarPoint(ends.P2.X, ends.P2.Y, arrow, a);

    const bool marked = c.Count > 1 || c.UseFunction;
    TPoint s1, s2;
    if (marked) {
        const TPoint m{RoundToInt((static_cast<double>(e.X) + ends.P1.X) / 2),
                       RoundToInt((static_cast<double>(e.Y) + ends.P1.Y) / 2)};
        const double b = VectorAngle(ends.P1.X, ends.P1.Y, e.X, e.Y);
        const std::int32_t k = c.Height1;
        const std::int32_t halfK = RoundToInt(k / 2.0);
        if ((b >= 0 && b < 90) || (b >= 180 && b < 270)) {
            s1 = {m.X + halfK, m.Y - k};
            s2 = {m.X - halfK, m.Y + k};
        } else {
            s1 = {m.X - halfK, m.Y - k};
            s2 = {m.X + halfK, m.Y + k};
        }
    }

    auto screen = [&](TPoint p) { return ModelToScreen(g, p.X, p.Y); };
    const TPoint p1 = screen(ends.P1), p2 = screen(ends.P2), se = screen(e), sq1 = screen(q1),
                 sq2 = screen(q2);
    const int width = c.IsInform ? 1 : ScaledAtLeastOne(c.Width, g.Scale);
    const int markWidth = c.IsInform ? 1 : ScaledAtLeastOne(c.Width1, g.Scale);
    const TPoint ss1 = marked ? screen(s1) : TPoint{}, ss2 = marked ? screen(s2) : TPoint{};
    const TColor color = FadeColor(c, g.FrameTime);
    const int countSize = Scaled(c.CountFontSize, g.Scale);
    TPlacedText count;
    bool shows = canvas.SegmentMeets(p1, se, width / 2.0 + 2) ||
                 canvas.Meets(PointsBox({sq1, p2, sq2}, width));
    if (marked && !shows)
        shows = canvas.Meets(PointsBox({ss1, ss2}, markWidth));
    if (marked) {
        count.Size = countSize;
        count.Height = canvas.TextHeight(countSize);
        count.Top = ss1.Y - RoundToInt(count.Height / 1.2);
        // The count text is measured only when its rows reach the frame.
        if (shows || RowsMeet(canvas, {TextRows(canvas, countSize, count.Top)})) {
            count.Text = c.UseFunction ? Text(c.Formula) : QString::number(c.Count);
            count.Width = canvas.TextWidth(countSize, count.Text);
            count.Left = ss1.X - RoundToInt(count.Width / 2.0);
            shows = shows || canvas.Meets(Box(count));
        }
    }
    if (!shows)
        return false;
    canvas.Cover(PointsBox({p1, se}, width));
    canvas.Cover(PointsBox({sq1, p2, sq2}, width));
    if (marked) {
        canvas.Cover(PointsBox({ss1, ss2}, markWidth));
        if (!count.Text.isNull())
            canvas.Cover(Box(count));
    }
    if (!canvas.Paints())
        return true;

    QPainter& painter = canvas.Painter();
    ClearBrush(painter);
    if (c.IsInform)
        SetDottedPen(painter, color);
    else
        SetPen(painter, color, width);
    Line(painter, p1.X, p1.Y, se.X, se.Y);
    const QPoint head[] = {{sq1.X, sq1.Y}, {p2.X, p2.Y}, {sq2.X, sq2.Y}};
    painter.drawPolygon(head, 3);

    if (!marked)
        return true;
    if (!c.IsInform)
        SetPen(painter, color, markWidth);
    Line(painter, ss1.X, ss1.Y, ss2.X, ss2.Y);
    Draw(canvas, count, color);
    return true;
}

void DrawCreationGhost(TEngine& engine, QPainter& canvas, int x, int y) {
    const TEngineGraph& g = engine.Graph;
    const TEngineGraphOptions& o = g.Options;
    switch (engine.EditMode) {
    case emCreateVertex: {
        SetBrush(canvas, o.VertexAmbientColor1);
        SetPen(canvas, o.VertexAmbientColor, Scaled(o.VertexLineWidth, g.Scale));
        const int r = Scaled(o.VertexRadius, g.Scale);
        Ellipse(canvas, x - r, y - r, x + r, y + r);
        break;
    }
    case emCreateTransition: {
        SetBrush(canvas, o.TransitionAmbientColor);
        SetPen(canvas, o.TransitionAmbientColor, 1);
        const int w = ScaledAtLeastOne(o.TransitionWidth, g.Scale);
        const int h = ScaledAtLeastOne(o.TransitionHeight, g.Scale);
        Rectangle(canvas, x - w, y - h, x + w, y + h);
        break;
    }
    case emCreateConnection:
    case emCreateInformConnection: {
        if (engine.Choiced.Items.empty())
            return;
        const TObjectRef& first = engine.Choiced.Items.front();
        if (engine.EditMode == emCreateInformConnection && first.Kind() != okVertex)
            return;
        TPoint centre;
        if (const TVertex* v = first.Vertex()) {
            centre = {v->X, v->Y};
        } else if (const TTransition* t = first.Transition()) {
            centre = {t->X, t->Y};
        } else {
            return;
        }
        const TPoint s = ModelToScreen(g, centre.X, centre.Y);
        const int width = ScaledAtLeastOne(o.ConnectionWidth, g.Scale);
        if (engine.EditMode == emCreateInformConnection)
            SetDottedPen(canvas, o.ConnectionAmbientColor);
        else
            SetPen(canvas, o.ConnectionAmbientColor, width);
        if (engine.EditMode == emCreateInformConnection) {
            QPen pen = canvas.pen();
            pen.setWidth(width);
            canvas.setPen(pen);
        }
        Line(canvas, s.X, s.Y, x, y);
        break;
    }
    default:
        break;
    }
}
