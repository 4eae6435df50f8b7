#include "Frame.h"

#include "Canvas.h"
#include "Clock.h"
#include "FrameImage.h"
#include "NumberText.h"
#include "ObjectCanvas.h"
#include "ObjectDrawing.h"
#include "ObjectLayer.h"
#include "Viewport.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

void EnsureImages(TEngineGraph& g) {
    if (!g.BackImage)
        g.BackImage = std::make_shared<TFrameImage>();
    if (!g.FrontImage)
        g.FrontImage = std::make_shared<TFrameImage>();
}

} // namespace

void ResizeView(TEngineGraph& g, int width, int height, double devicePixelRatio) {
    g.ScreenWidth = width;
    g.ScreenHeight = height;
    EnsureImages(g);
    g.BackImage->Image = MakeFrameImage(width, height, devicePixelRatio);
    g.FrontImage->Image = MakeFrameImage(width, height, devicePixelRatio);
    g.FrontImage->Image.fill(ToQColor(g.Options.ScreenColor));
    ClearBackImage(g, g.Options.ScreenColor);
}

void ClearBackImage(TEngineGraph& g, TColor color) {
    EnsureImages(g);
    g.BackImage->Image.fill(ToQColor(color));
}

void DrawGrid(const TEngineGraph& g, QPainter& canvas) {
    const TGridLines grid = GridLines(g);
    SetPen(canvas, g.Options.GridColor, 2);
    for (const TScreenLine& l : grid.Axes)
        Line(canvas, l.From.X, l.From.Y, l.To.X, l.To.Y);
    SetPen(canvas, g.Options.GridColor, 1);
    for (const TScreenLine& l : grid.Lines)
        Line(canvas, l.From.X, l.From.Y, l.To.X, l.To.Y);
}

void DrawTimeLine(const TEngineGraph& g, QPainter& canvas, double modelTime, double timeScale) {
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

void SetVisibleRectangle(TEngineGraph& g) {
    const TPoint topLeft = ScreenToModel(g, 0, 0);
    const TPoint bottomRight = ScreenToModel(g, g.ScreenWidth, g.ScreenHeight);
    g.VisibleLeft = topLeft.X;
    g.VisibleTop = topLeft.Y;
    g.VisibleRight = bottomRight.X;
    g.VisibleBottom = bottomRight.Y;
}

void DrawFrameOn(TEngine& engine, QPainter& canvas, TFrameAids aids) {
    TEngineGraph& g = engine.Graph;
    if (engine.GridEnabled)
        DrawGrid(g, canvas);
    {
        TObjectCanvas objects(canvas, g.ScreenWidth, g.ScreenHeight);
        for (auto& c : engine.Net.Connections)
            DrawConnection(*c, objects, engine);
        for (auto& v : engine.Net.Vertices)
            DrawVertex(*v, objects, g);
        for (auto& t : engine.Net.Transitions)
            DrawTransition(*t, objects, g);
    }
    DrawFrameOverlay(engine, canvas, aids);
}

void DrawFrameOverlay(TEngine& engine, QPainter& canvas, TFrameAids aids) {
    TEngineGraph& g = engine.Graph;
    if (aids == TFrameAids::Shown && engine.EditMode >= emCreateVertex)
        DrawCreationGhost(engine, canvas, g.CursorX, g.CursorY);
    if (aids == TFrameAids::Shown && engine.EditMode == emRubberBand) {
        ClearBrush(canvas);
        SetDottedPen(canvas, 0);
        Rectangle(canvas, engine.BandStartX, engine.BandStartY, g.CursorX, g.CursorY);
    }
    if (engine.TimeLineEnabled)
        DrawTimeLine(g, canvas, engine.Net.ModelTime, engine.TimeScale);
    ClearBrush(canvas);
    SetPen(canvas, 0, 1);
    Rectangle(canvas, 0, 0, g.ScreenWidth, g.ScreenHeight);
}

void DrawFrame(TEngine& engine) {
    DrawFrame(engine, static_cast<std::int32_t>(TickCount()));
}

void DrawFrame(TEngine& engine, std::int32_t tick) {
    TEngineGraph& g = engine.Graph;
    g.FrameTime = tick;
    EnsureImages(g);
    SetVisibleRectangle(g);
    // The kept picture of the objects, brought up to date, under the aids of this frame.
    g.BackImage->Image = UpdateObjectLayer(engine);
    {
        QPainter canvas(&g.BackImage->Image);
        DrawFrameOverlay(engine, canvas, TFrameAids::Shown);
    }
    g.FrontImage->Image = g.BackImage->Image;
}
