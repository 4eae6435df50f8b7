#include "ObjectLayer.h"

#include "Canvas.h"
#include "Frame.h"
#include "FrameImage.h"
#include "Geometry.h"
#include "ObjectDrawing.h"
#include "ObjectLooks.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace {

// A part repaint costs about as much as a whole one once this share of the objects changed
// or this share of the picture is to be repainted.
constexpr std::size_t kWholeRepaintObjectShare = 4;
constexpr std::size_t kMostChangedForPart = 512;
constexpr double kWholeRepaintAreaShare = 0.5;

bool SameLevels(const std::vector<TEngineGraphGridLevel>& a,
                const std::vector<TEngineGraphGridLevel>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.ScaleFrom == y.ScaleFrom && x.ScaleTo == y.ScaleTo && x.Step == y.Step;
    });
}

TLayerView CurrentView(const TEngine& engine) {
    const TEngineGraph& g = engine.Graph;
    const TEngineGraphOptions& o = g.Options;
    return {g.CenterX,
            g.CenterY,
            g.Scale,
            g.ScreenWidth,
            g.ScreenHeight,
            g.BackImage ? g.BackImage->Image.devicePixelRatio() : 1.0,
            engine.GridEnabled,
            o.ScreenColor,
            o.GridColor,
            o.GridOptions.Levels,
            o.ConnectionArrowLength,
            o.ConnectionArrowAngle};
}

// The looks of the objects in drawing order; connections near the view settle their colours.
std::vector<std::uint64_t> CurrentLooks(TEngine& engine) {
    std::vector<std::uint64_t> looks;
    looks.reserve(engine.Net.Connections.size() + engine.Net.Vertices.size() +
                  engine.Net.Transitions.size());
    for (auto& c : engine.Net.Connections)
        looks.push_back(ConnectionLook(*c, engine));
    for (auto& v : engine.Net.Vertices)
        looks.push_back(VertexLook(*v, engine.Graph));
    for (auto& t : engine.Net.Transitions)
        looks.push_back(TransitionLook(*t, engine.Graph));
    return looks;
}

// Draws the object at the position in drawing order (connections already settled).
void DrawObject(TEngine& engine, std::size_t index, TObjectCanvas& canvas) {
    TEngineNet& net = engine.Net;
    const std::size_t connections = net.Connections.size();
    const std::size_t vertices = net.Vertices.size();
    if (index < connections) {
        TConnection& c = *net.Connections[index];
        const TConnectionEnds ends = ConnectionEnds(c);
        if (ConnectionNearView(ends, engine.Graph))
            DrawSettledConnection(c, ends, canvas, engine.Graph);
    } else if (index < connections + vertices) {
        DrawVertex(*net.Vertices[index - connections], canvas, engine.Graph);
    } else {
        DrawTransition(*net.Transitions[index - connections - vertices], canvas, engine.Graph);
    }
}

// The whole pixels a box reaches, with a pixel to spare, within the picture.
QRect PixelRect(const TScreenBox& box, int width, int height) {
    const auto clamp = [](double value, int high) {
        return static_cast<int>(std::clamp(value, -2.0, high + 2.0));
    };
    const QRect rect(
        QPoint(clamp(std::floor(box.Left) - 1, width), clamp(std::floor(box.Top) - 1, height)),
        QPoint(clamp(std::ceil(box.Right) + 1, width), clamp(std::ceil(box.Bottom) + 1, height)));
    return rect.intersected(QRect(0, 0, width, height));
}

void PaintBackground(TEngine& engine, QPainter& painter, const QRect& area) {
    painter.fillRect(area, ToQColor(engine.Graph.Options.ScreenColor));
    if (engine.GridEnabled)
        DrawGrid(engine.Graph, painter);
}

void RepaintWhole(TEngine& engine, TObjectLayer& layer, const std::vector<std::uint64_t>& looks) {
    const TEngineGraph& g = engine.Graph;
    // The image is kept when its size stays, sparing the memory system a new one a frame while
    // the view is panned or zoomed.
    const QSize size(g.ScreenWidth, g.ScreenHeight);
    if (layer.Image.isNull() || layer.ImageSize != size ||
        layer.Image.devicePixelRatio() != layer.View.PixelRatio) {
        layer.Image = MakeFrameImage(size.width(), size.height(), layer.View.PixelRatio);
        layer.ImageSize = size;
    }
    layer.Objects.assign(looks.size(), {});
    QPainter painter(&layer.Image);
    PaintBackground(engine, painter, QRect(0, 0, g.ScreenWidth, g.ScreenHeight));
    TObjectCanvas canvas(painter, g.ScreenWidth, g.ScreenHeight);
    for (std::size_t i = 0; i < looks.size(); ++i) {
        if (looks[i] != kUnseenLook)
            DrawObject(engine, i, canvas);
        layer.Objects[i] = {looks[i], canvas.TakeCovered()};
    }
    layer.Painted = true;
    layer.LastRepaint = TLayerRepaint::Whole;
}

// The rectangles of the dirty region filed by the cells of a coarse grid over the picture that
// they reach: an object is tested against the few rectangles of the cells its box reaches
// rather than against every rectangle of the region.
class TDirtyCells {
public:
    TDirtyCells(const QRegion& dirty, int width, int height)
        : Columns(width / kCell + 1), Rows(height / kCell + 1), Rects(dirty.begin(), dirty.end()),
          Cells(static_cast<std::size_t>(Columns) * Rows) {
        for (int k = 0; k < static_cast<int>(Rects.size()); ++k) {
            const QRect& rect = Rects[k];
            for (int row = Row(rect.top()); row <= Row(rect.bottom()); ++row)
                for (int column = Column(rect.left()); column <= Column(rect.right()); ++column)
                    Cells[Cell(row, column)].push_back(k);
        }
    }
    bool Meets(const QRect& rect) const {
        if (rect.isEmpty())
            return false;
        for (int row = Row(rect.top()); row <= Row(rect.bottom()); ++row)
            for (int column = Column(rect.left()); column <= Column(rect.right()); ++column)
                for (int k : Cells[Cell(row, column)])
                    if (Rects[k].intersects(rect))
                        return true;
        return false;
    }

private:
    static constexpr int kCell = 32;
    int Row(int y) const { return std::clamp(y / kCell, 0, Rows - 1); }
    int Column(int x) const { return std::clamp(x / kCell, 0, Columns - 1); }
    std::size_t Cell(int row, int column) const {
        return static_cast<std::size_t>(row) * Columns + column;
    }
    int Columns;
    int Rows;
    std::vector<QRect> Rects;
    std::vector<std::vector<int>> Cells;
};

double Area(const QRegion& region) {
    double area = 0;
    for (const QRect& rect : region)
        area += static_cast<double>(rect.width()) * rect.height();
    return area;
}

// Repaints about the changed objects; false when that would cost about a whole repaint, with
// nothing repainted.
bool RepaintPart(TEngine& engine, TObjectLayer& layer, const std::vector<std::uint64_t>& looks,
                 const std::vector<std::size_t>& changed) {
    const int w = engine.Graph.ScreenWidth;
    const int h = engine.Graph.ScreenHeight;
    QPainter painter(&layer.Image);
    // Where the changed objects were and where they are now.
    TObjectCanvas measure(painter, w, h, TCanvasPass::Measure);
    QRegion dirty;
    std::vector<TScreenBox> boxes(changed.size());
    for (std::size_t k = 0; k < changed.size(); ++k) {
        const std::size_t i = changed[k];
        if (looks[i] != kUnseenLook)
            DrawObject(engine, i, measure);
        boxes[k] = measure.TakeCovered();
        for (const TScreenBox& box : {layer.Objects[i].Box, boxes[k]})
            if (!IsEmpty(box))
                dirty += PixelRect(box, w, h);
    }
    if (Area(dirty) > kWholeRepaintAreaShare * w * h)
        return false;
    for (std::size_t k = 0; k < changed.size(); ++k)
        layer.Objects[changed[k]] = {looks[changed[k]], boxes[k]};
    layer.LastRepaint = TLayerRepaint::Part;
    if (dirty.isEmpty())
        return true;

    // Everything under the dirty pixels is painted again in order, clipped to them.
    painter.setClipRegion(dirty);
    PaintBackground(engine, painter, dirty.boundingRect());
    const TDirtyCells cells(dirty, w, h);
    TObjectCanvas canvas(painter, w, h);
    for (std::size_t i = 0; i < layer.Objects.size(); ++i) {
        const TScreenBox& box = layer.Objects[i].Box;
        if (IsEmpty(box) || !cells.Meets(PixelRect(box, w, h)))
            continue;
        DrawObject(engine, i, canvas);
        canvas.TakeCovered();
    }
    return true;
}

} // namespace

bool TLayerView::operator==(const TLayerView& o) const {
    return CenterX == o.CenterX && CenterY == o.CenterY && Scale == o.Scale && Width == o.Width &&
           Height == o.Height && PixelRatio == o.PixelRatio && Grid == o.Grid &&
           ScreenColor == o.ScreenColor && GridColor == o.GridColor &&
           SameLevels(GridLevels, o.GridLevels) && ArrowLength == o.ArrowLength &&
           ArrowAngle == o.ArrowAngle;
}

const QImage& UpdateObjectLayer(TEngine& engine) {
    TEngineGraph& g = engine.Graph;
    if (!g.ObjectLayer)
        g.ObjectLayer = std::make_shared<TObjectLayer>();
    TObjectLayer& layer = *g.ObjectLayer;
    const std::vector<std::uint64_t> looks = CurrentLooks(engine);
    TLayerView view = CurrentView(engine);
    if (!layer.Painted || !(view == layer.View) || looks.size() != layer.Objects.size()) {
        layer.View = std::move(view);
        RepaintWhole(engine, layer, looks);
        return layer.Image;
    }
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < looks.size(); ++i)
        if (looks[i] != layer.Objects[i].Look)
            changed.push_back(i);
    if (changed.empty()) {
        layer.LastRepaint = TLayerRepaint::Nothing;
        return layer.Image;
    }
    if (changed.size() >
            std::min(looks.size() / kWholeRepaintObjectShare + 16, kMostChangedForPart) ||
        !RepaintPart(engine, layer, looks, changed))
        RepaintWhole(engine, layer, looks);
    return layer.Image;
}
