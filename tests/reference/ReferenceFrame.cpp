// The drawing of a frame as it was before the canvas learnt to skip what lies outside the view and
// to reuse its fonts and text measures: one object after another, each setting its own pens and
// fonts and measuring its texts. The identity tests draw every frame both ways and compare pixels.
#include "ReferenceFrame.h"

#include "Canvas.h"
#include "Fades.h"
#include "Geometry.h"
#include "LaunchBuffer.h"
#include "NumberText.h"
#include "ObjectDrawing.h"
#include "TextCodec.h"
#include "Viewport.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

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

// Text centred on x with its top at `top`.
void CentredText(QPainter& canvas, int x, int top, const QString& text, TColor color) {
    TextOut(canvas, x - RoundToInt(TextExtent(canvas, text).Width / 2.0), top, text, color);
}

bool ReferenceVertex(TVertex& v, QPainter& canvas, const TEngineGraph& g) {
    const std::int64_t margin = 8LL * v.Radius;
    if (!NearView(g, v.X, v.Y, margin, margin, margin))
        return false;
    const TPoint s = ModelToScreen(g, v.X, v.Y);
    const TVertexColors colors = FadeColor(v, g.FrameTime);
    SetBrush(canvas, colors.Fill);
    SetPen(canvas, colors.Line, Scaled(v.LineWidth, g.Scale));
    const int r = Scaled(v.Radius, g.Scale);
    Ellipse(canvas, s.X - r, s.Y - r, s.X + r, s.Y + r);

    canvas.setFont(ObjectFont(Scaled(v.NameFontSize, g.Scale)));
    const QString name = Text(v.Name);
    CentredText(canvas, s.X, s.Y - r - TextExtent(canvas, name).Height, name, colors.Line);
    canvas.setFont(ObjectFont(Scaled(v.MarkFontSize, g.Scale)));
    const QString marking = QString::number(v.Marking);
    CentredText(canvas, s.X, s.Y - RoundToInt(TextExtent(canvas, marking).Height / 2.0), marking,
                colors.Line);
    return true;
}

bool ReferenceTransition(TTransition& t, QPainter& canvas, const TEngineGraph& g) {
    if (!NearView(g, t.X, t.Y, t.Width + 1200LL, t.Height + 500LL, t.Height + 500LL))
        return false;
    const TPoint s = ModelToScreen(g, t.X, t.Y);
    const TColor c = FadeColor(t, g.FrameTime);
    SetBrush(canvas, c);
    SetPen(canvas, c, 1);
    const int w = ScaledAtLeastOne(t.Width, g.Scale);
    const int h = ScaledAtLeastOne(t.Height, g.Scale);
    Rectangle(canvas, s.X - w, s.Y - h, s.X + w, s.Y + h);

    canvas.setFont(ObjectFont(Scaled(t.NameFontSize, g.Scale)));
    const QString name = Text(t.Name);
    CentredText(canvas, s.X, s.Y - h - TextExtent(canvas, name).Height, name, c);
    canvas.setFont(ObjectFont(Scaled(t.DelayFontSize, g.Scale)));
    CentredText(canvas, s.X, s.Y + h, QString::fromStdString(TransitionParameterText(t)), c);
    CentredText(canvas, s.X, s.Y + h + RoundToInt(t.DelayFontSize * 1.2 * g.Scale),
                "b=" + QString::number(BufferCount(t.LaunchBuffer)), c);
    return true;
}

bool ReferenceConnection(TConnection& c, QPainter& canvas, TEngine& engine) {
    const TEngineGraph& g = engine.Graph;
    const TConnectionEnds ends = ConnectionEnds(c);
    // The line, its arrowhead and its count text lie within the margins about the segment; a
    // long connection crosses the view with both ends far outside it.
    if (!SegmentMeetsRectangle(ends.P1, ends.P2, g.VisibleLeft - 800.0, g.VisibleTop - 800.0,
                               g.VisibleRight + 800.0, g.VisibleBottom + 500.0))
        return false;

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
    SettleConnectionColor(c, engine);
    const TColor color = FadeColor(c, g.FrameTime);

    ClearBrush(canvas);
    if (c.IsInform)
        SetDottedPen(canvas, color);
    else
        SetPen(canvas, color, ScaledAtLeastOne(c.Width, g.Scale));
    Line(canvas, p1.X, p1.Y, se.X, se.Y);
    const QPoint head[] = {{sq1.X, sq1.Y}, {p2.X, p2.Y}, {sq2.X, sq2.Y}};
    canvas.drawPolygon(head, 3);

    if (!marked)
        return true;
    if (!c.IsInform)
        SetPen(canvas, color, ScaledAtLeastOne(c.Width1, g.Scale));
    const TPoint ss1 = screen(s1), ss2 = screen(s2);
    Line(canvas, ss1.X, ss1.Y, ss2.X, ss2.Y);
    canvas.setFont(ObjectFont(Scaled(c.CountFontSize, g.Scale)));
    const QString text = c.UseFunction ? Text(c.Formula) : QString::number(c.Count);
    const TTextSize size = TextExtent(canvas, text);
    TextOut(canvas, ss1.X - RoundToInt(size.Width / 2.0), ss1.Y - RoundToInt(size.Height / 1.2),
            text, color);
    return true;
}

void ReferenceGrid(const TEngineGraph& g, QPainter& canvas) {
    const TGridLines grid = GridLines(g);
    SetPen(canvas, g.Options.GridColor, 2);
    for (const TScreenLine& l : grid.Axes)
        Line(canvas, l.From.X, l.From.Y, l.To.X, l.To.Y);
    SetPen(canvas, g.Options.GridColor, 1);
    for (const TScreenLine& l : grid.Lines)
        Line(canvas, l.From.X, l.From.Y, l.To.X, l.To.Y);
}

void ReferenceTimeLine(const TEngineGraph& g, QPainter& canvas, double modelTime,
                       double timeScale) {
    const int w = g.ScreenWidth;
    const int h = g.ScreenHeight;
    const int band = g.Options.TimeLineHeight;
    const TColor color = g.Options.TimeLineColor;
    SetBrush(canvas, g.Options.ScreenColor);
    SetPen(canvas, color, 1);
    Rectangle(canvas, 0, h - band, w, h);
    canvas.setFont(TimeLineFont(8));

    const int cx = RoundToInt(w / 2.0);
    SetPen(canvas, color, 2);
    Line(canvas, cx, h - band, cx, h - 20);
    SetPen(canvas, color, 1);
    const QString now = QString::fromStdString(FloatToText("0.000000", modelTime));
    const TTextSize nowSize = TextExtent(canvas, now);
    TextOut(canvas, cx - RoundToInt(nowSize.Width / 2.0), h - band - nowSize.Height - 2, now,
            color);

    // The labels are measured first: when the widest would run into its neighbour, only every
    // stride-th labelled tick keeps its label.
    const std::vector<TTimeLineMark> marks = TimeLineMarks(w, modelTime, timeScale);
    std::vector<QString> labels(marks.size());
    std::int32_t widest = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i].Short)
            continue;
        labels[i] = QString::fromStdString(FloatToText("0.00", marks[i].Value));
        widest = std::max(widest, TextExtent(canvas, labels[i]).Width);
    }
    const std::int32_t stride = TimeLineLabelStride(widest, TextExtent(canvas, "00").Width);
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const TTimeLineMark& mark = marks[i];
        if (mark.Short) {
            Line(canvas, mark.X, h - band, mark.X, h - 28);
            continue;
        }
        Line(canvas, mark.X, h - band, mark.X, h - 20);
        if (!IsTimeLineLabelShown(mark.Value, timeScale, stride))
            continue;
        TextOut(canvas, mark.X - RoundToInt(TextExtent(canvas, labels[i]).Width / 2.0), h - 20,
                labels[i], color);
    }
}

} // namespace

void ReferenceDrawFrameOn(TEngine& engine, QPainter& canvas, TFrameAids aids) {
    TEngineGraph& g = engine.Graph;
    if (engine.GridEnabled)
        ReferenceGrid(g, canvas);
    for (auto& c : engine.Net.Connections)
        ReferenceConnection(*c, canvas, engine);
    for (auto& v : engine.Net.Vertices)
        ReferenceVertex(*v, canvas, g);
    for (auto& t : engine.Net.Transitions)
        ReferenceTransition(*t, canvas, g);
    if (aids == TFrameAids::Shown && engine.EditMode >= emCreateVertex)
        DrawCreationGhost(engine, canvas, g.CursorX, g.CursorY);
    if (aids == TFrameAids::Shown && engine.EditMode == emRubberBand) {
        ClearBrush(canvas);
        SetDottedPen(canvas, 0);
        Rectangle(canvas, engine.BandStartX, engine.BandStartY, g.CursorX, g.CursorY);
    }
    if (engine.TimeLineEnabled)
        ReferenceTimeLine(g, canvas, engine.Net.ModelTime, engine.TimeScale);
    ClearBrush(canvas);
    SetPen(canvas, 0, 1);
    Rectangle(canvas, 0, 0, g.ScreenWidth, g.ScreenHeight);
}
