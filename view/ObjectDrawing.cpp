#include "ObjectDrawing.h"

#include "Canvas.h"
#include "Fades.h"
#include "Geometry.h"
#include "LaunchBuffer.h"
#include "NumberText.h"
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

// Text centred on x with its top at `top`.
void CentredText(QPainter& canvas, int x, int top, const QString& text, TColor color) {
    TextOut(canvas, x - RoundToInt(TextExtent(canvas, text).Width / 2.0), top, text, color);
}

} // namespace

bool DrawVertex(TVertex& v, QPainter& canvas, const TEngineGraph& g) {
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

bool DrawTransition(TTransition& t, QPainter& canvas, const TEngineGraph& g) {
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

bool DrawConnection(TConnection& c, QPainter& canvas, TEngine& engine) {
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
