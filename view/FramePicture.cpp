#include "FramePicture.h"

#include "Canvas.h"
#include "Frame.h"
#include "FrameImage.h"
#include "Geometry.h"
#include "LaunchBuffer.h"
#include "NumberText.h"
#include "ObjectDrawing.h"
#include "TextCodec.h"
#include "Viewport.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Puts the picture's view into the graph for the time of a drawing, since the object drawing
// reads the view from there, and gives the window's view back afterwards.
class TViewSwap {
public:
    TViewSwap(TEngineGraph& graph, const TPictureView& view)
        : Graph(graph), CenterX(graph.CenterX), CenterY(graph.CenterY), Width(graph.ScreenWidth),
          Height(graph.ScreenHeight), Scale(graph.Scale), Left(graph.VisibleLeft),
          Top(graph.VisibleTop), Right(graph.VisibleRight), Bottom(graph.VisibleBottom) {
        graph.CenterX = view.CenterX;
        graph.CenterY = view.CenterY;
        graph.ScreenWidth = view.Width;
        graph.ScreenHeight = view.Height;
        graph.Scale = view.Scale;
    }
    ~TViewSwap() {
        Graph.CenterX = CenterX;
        Graph.CenterY = CenterY;
        Graph.ScreenWidth = Width;
        Graph.ScreenHeight = Height;
        Graph.Scale = Scale;
        Graph.VisibleLeft = Left;
        Graph.VisibleTop = Top;
        Graph.VisibleRight = Right;
        Graph.VisibleBottom = Bottom;
    }
    TViewSwap(const TViewSwap&) = delete;
    TViewSwap& operator=(const TViewSwap&) = delete;

private:
    TEngineGraph& Graph;
    std::int32_t CenterX, CenterY, Width, Height;
    double Scale;
    std::int32_t Left, Top, Right, Bottom;
};

// A box in pixels of the model plane at a scale (model coordinates times the scale).
struct TBox {
    double Left = std::numeric_limits<double>::infinity();
    double Top = std::numeric_limits<double>::infinity();
    double Right = -std::numeric_limits<double>::infinity();
    double Bottom = -std::numeric_limits<double>::infinity();

    void Add(double left, double top, double right, double bottom) {
        Left = std::min(Left, left);
        Top = std::min(Top, top);
        Right = std::max(Right, right);
        Bottom = std::max(Bottom, bottom);
    }
    // The text of the size centred on x with its top at `top`.
    void AddText(double x, double top, TTextSize size) {
        Add(x - size.Width / 2.0, top, x + size.Width / 2.0, top + size.Height);
    }
    bool Empty() const { return Left > Right; }
};

int Scaled(std::int32_t size, double scale) {
    return RoundToInt(size * scale);
}

// Measures texts in the fonts the objects are drawn with, on a device of 96 dots per inch.
class TTextMeasure {
public:
    TTextMeasure() : Probe(MakeFrameImage(1, 1)), Painter(&Probe) {}
    TTextSize Size(std::int32_t fontSize, double scale, const QString& text) {
        Painter.setFont(ObjectFont(Scaled(fontSize, scale)));
        return TextExtent(Painter, text);
    }

private:
    QImage Probe;
    QPainter Painter;
};

QString Text(const std::string& win1251) {
    return QString::fromStdString(Win1251ToUtf8(win1251));
}

// Everything the objects draw at the scale: shapes with their lines, texts and arrowheads, as
// ObjectDrawing lays them out.
TBox NetBox(const TEngine& engine, double scale) {
    TBox box;
    TTextMeasure measure;
    for (const auto& v : engine.Net.Vertices) {
        const double x = v->X * scale, y = v->Y * scale;
        const double r = Scaled(v->Radius, scale) + Scaled(v->LineWidth, scale) / 2.0 + 1;
        box.Add(x - r, y - r, x + r, y + r);
        const TTextSize name = measure.Size(v->NameFontSize, scale, Text(v->Name));
        box.AddText(x, y - r - name.Height, name);
        const TTextSize marking = measure.Size(v->MarkFontSize, scale, QString::number(v->Marking));
        box.AddText(x, y - marking.Height / 2.0, marking);
    }
    for (const auto& t : engine.Net.Transitions) {
        const double x = t->X * scale, y = t->Y * scale;
        const double w = std::max(1, Scaled(t->Width, scale)) + 1;
        const double h = std::max(1, Scaled(t->Height, scale)) + 1;
        box.Add(x - w, y - h, x + w, y + h);
        const TTextSize name = measure.Size(t->NameFontSize, scale, Text(t->Name));
        box.AddText(x, y - h - name.Height, name);
        box.AddText(x, y + h,
                    measure.Size(t->DelayFontSize, scale,
                                 QString::fromStdString(TransitionParameterText(*t))));
        box.AddText(x, y + h + RoundToInt(t->DelayFontSize * 1.2 * scale),
                    measure.Size(t->DelayFontSize, scale,
                                 "b=" + QString::number(BufferCount(t->LaunchBuffer))));
    }
    // The arrowhead and the count stroke are placed as DrawConnection places them.
    const TEngineGraphOptions& o = engine.Graph.Options;
    const std::int32_t arrow = o.ConnectionArrowLength;
    const double phi = o.ConnectionArrowAngle;
    const double side = RoundHalfEven(arrow / std::cos(phi * std::numbers::pi / 180));
    for (const auto& c : engine.Net.Connections) {
        const TConnectionEnds ends = ConnectionEnds(*c);
        const double line = std::max(c->Width, c->Width1) * scale / 2.0 + 1;
        auto addPoint = [&](TPoint p) {
            box.Add(p.X * scale - line, p.Y * scale - line, p.X * scale + line, p.Y * scale + line);
        };
        const double a = VectorAngle(ends.P2.X, ends.P2.Y, ends.P1.X, ends.P1.Y);
        addPoint(ends.P1);
        addPoint(ends.P2);
        addPoint(PolarPoint(ends.P2.X, ends.P2.Y, side, AddAngle(a, -phi)));
        addPoint(PolarPoint(ends.P2.X, ends.P2.Y, side, AddAngle(a, phi)));
        if (c->Count <= 1 && !c->UseFunction)
            continue;
        const TPoint e = PolarPoint(ends.P2.X, ends.P2.Y, arrow, a);
        const double mx = (static_cast<double>(e.X) + ends.P1.X) / 2 * scale;
        const double my = (static_cast<double>(e.Y) + ends.P1.Y) / 2 * scale;
        const double across = c->Height1 / 2.0 * scale + line, up = c->Height1 * scale + line;
        box.Add(mx - across, my - up, mx + across, my + up);
        // The text is centred on the upper end of the stroke with its top 1/1.2 of its height
        // above it.
        const TTextSize text = measure.Size(
            c->CountFontSize, scale, c->UseFunction ? Text(c->Formula) : QString::number(c->Count));
        box.AddText(mx + across, my - up - text.Height / 1.2, text);
        box.AddText(mx - across, my - up - text.Height / 1.2, text);
    }
    return box;
}

// QSvgGenerator states the size in millimetres; a picture of the screen is measured in pixels,
// as its view box is.
void SizeInPixels(QByteArray& svg, const TPictureView& view) {
    const QByteArray head = "<svg width=\"";
    const qsizetype from = svg.indexOf(head);
    const qsizetype heightAt = from < 0 ? -1 : svg.indexOf("height=\"", from);
    const qsizetype to = heightAt < 0 ? -1 : svg.indexOf('"', heightAt + 8);
    if (to < 0)
        return;
    svg.replace(
        from, to + 1 - from,
        QString("<svg width=\"%1\" height=\"%2\"").arg(view.Width).arg(view.Height).toUtf8());
}

// The canvas asks for "Courier New" and "Ms Sans Serif" and gets their metric twins where those
// are missing; an SVG names one family only, so it names the font the texts were measured and
// drawn with, and a viewer shows what the canvas shows.
void NameDrawnFonts(QByteArray& svg) {
    for (const QFont& font : {ObjectFont(10), TimeLineFont(8)}) {
        const QString drawn = QFontInfo(font).family();
        if (drawn != font.family())
            svg.replace("font-family=\"" + font.family().toUtf8() + "\"",
                        "font-family=\"" + drawn.toUtf8() + "\"");
    }
}

} // namespace

TPictureView VisiblePictureView(const TEngineGraph& g) {
    return {g.CenterX, g.CenterY, g.ScreenWidth, g.ScreenHeight, g.Scale};
}

std::optional<TPictureView> WholeNetPictureView(const TEngine& engine, double scale) {
    const TEngineGraph& g = engine.Graph;
    const std::int32_t band = engine.TimeLineEnabled ? g.Options.TimeLineHeight : 0;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const TBox box = NetBox(engine, scale);
        if (box.Empty())
            return std::nullopt;
        const double width = std::ceil(box.Right - box.Left) + 2.0 * kPictureMargin;
        const double height = std::ceil(box.Bottom - box.Top) + 2.0 * kPictureMargin + band;
        const double over = std::max(width, height) / kMaxPictureSide;
        if (over > 1 && scale > g.Options.MinScale) {
            // Texts do not shrink quite in step with the zoom, so the fit is tried again.
            scale = std::max(g.Options.MinScale, scale / over * 0.98);
            continue;
        }
        // The model point at the picture's centre: the middle of the objects, moved down by half
        // the time line so that the band lies below them.
        TPictureView view;
        view.Scale = scale;
        view.Width = static_cast<std::int32_t>(std::min(width, 1e9));
        view.Height = static_cast<std::int32_t>(std::min(height, 1e9));
        view.CenterX = RoundToInt((box.Left + box.Right) / 2 / scale);
        view.CenterY = RoundToInt(((box.Top + box.Bottom) / 2 + band / 2.0) / scale);
        return view;
    }
    return std::nullopt;
}

std::optional<TPictureView> PictureView(const TEngine& engine, TPictureExtent extent) {
    if (extent == TPictureExtent::VisiblePart)
        return VisiblePictureView(engine.Graph);
    return WholeNetPictureView(engine, engine.Graph.Scale);
}

void DrawPicture(TEngine& engine, QPainter& painter, const TPictureView& view) {
    TEngineGraph& g = engine.Graph;
    const TViewSwap swap(g, view);
    SetVisibleRectangle(g);
    painter.fillRect(0, 0, view.Width, view.Height, ToQColor(g.Options.ScreenColor));
    DrawFrameOn(engine, painter, TFrameAids::Hidden);
}

QImage PictureImage(TEngine& engine, const TPictureView& view, double scale) {
    QImage image = MakeFrameImage(view.Width, view.Height, scale);
    QPainter painter(&image);
    DrawPicture(engine, painter, view);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}

bool IsPictureSizeAllowed(const TPictureView& view, double scale) {
    if (!(scale > 0) || view.Width <= 0 || view.Height <= 0)
        return false;
    const double width = std::ceil(view.Width * scale), height = std::ceil(view.Height * scale);
    return width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= static_cast<double>(kMaxPicturePixels);
}

QByteArray PictureBytes(TEngine& engine, const TPictureView& view, TPictureFormat format,
                        double pngScale, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case TPictureFormat::Png:
        PictureImage(engine, view, pngScale).save(&buffer, "PNG");
        break;
    case TPictureFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setResolution(96); // the canvas's dots per inch, so that fonts come out alike
        svg.setSize(QSize(view.Width, view.Height));
        svg.setViewBox(QRect(0, 0, view.Width, view.Height));
        svg.setTitle(title);
        {
            QPainter painter(&svg);
            DrawPicture(engine, painter, view);
        }
        SizeInPixels(bytes, view);
        NameDrawnFonts(bytes);
        break;
    }
    case TPictureFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setTitle(title);
        // A pixel at 96 dots per inch is 3/4 of a point.
        pdf.setPageSize(QPageSize(QSizeF(view.Width * 0.75, view.Height * 0.75), QPageSize::Point,
                                  QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        QPainter painter(&pdf);
        DrawPicture(engine, painter, view);
        break;
    }
    }
    return bytes;
}

TPictureFormat PictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "svg")
        return TPictureFormat::Svg;
    if (suffix == "pdf")
        return TPictureFormat::Pdf;
    return TPictureFormat::Png;
}
