// Median time of DrawFrame at 1280 x 800 on production-line nets of about 1 000, 10 000 and
// 100 000 objects, as a ratio to the 14 ms refresh period:
//   part     100 % zoom, the view on the middle of the net (a part of it in view), moved by a
//            model unit before each frame, so that every frame is drawn whole, as in panning;
//   whole    the same, zoomed to fit the whole net (no further out than the zoom's limit);
//   still    either view held still with nothing changing: the kept object layer is shown;
//   +1%      either view held still while about 1 % of the objects change between frames, as
//            in a run (the markings of that many vertices are changed before each frame).
// Each net is built in memory by the function that writes bench/nets/line1000.kvl and
// line10000.kvl. An argument limits the nets to those whose name contains it.
//   build/release/bench/frame_bench [line10000]
#include "Frame.h"
#include "MedianTime.h"
#include "ProductionLine.h"
#include "Settings.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <tuple>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr double kRefreshMs = 14;
// Model units left around the net when it is zoomed to fit.
constexpr int kFitMargin = 600;

struct TBounds {
    int Left = std::numeric_limits<int>::max();
    int Top = std::numeric_limits<int>::max();
    int Right = std::numeric_limits<int>::min();
    int Bottom = std::numeric_limits<int>::min();
};

TBounds NetBounds(const TEngine& engine) {
    TBounds b;
    auto take = [&b](int x, int y) {
        b.Left = std::min(b.Left, x);
        b.Right = std::max(b.Right, x);
        b.Top = std::min(b.Top, y);
        b.Bottom = std::max(b.Bottom, y);
    };
    for (const auto& v : engine.Net.Vertices)
        take(v->X, v->Y);
    for (const auto& t : engine.Net.Transitions)
        take(t->X, t->Y);
    return b;
}

void LookAtMiddle(TEngine& engine, double scale) {
    const TBounds b = NetBounds(engine);
    TEngineGraph& g = engine.Graph;
    g.CenterX = (b.Left + b.Right) / 2;
    g.CenterY = (b.Top + b.Bottom) / 2;
    g.Scale = std::clamp(scale, g.Options.MinScale, g.Options.MaxScale);
    SetVisibleRectangle(g);
}

double FitScale(const TEngine& engine) {
    const TBounds b = NetBounds(engine);
    return std::min(kWidth / double(b.Right - b.Left + 2 * kFitMargin),
                    kHeight / double(b.Bottom - b.Top + 2 * kFitMargin));
}

// Vertices and transitions whose centres the view covers, in percent of all of them.
double PercentInView(const TEngine& engine) {
    const TEngineGraph& g = engine.Graph;
    auto inside = [&g](int x, int y) {
        return x >= g.VisibleLeft && x <= g.VisibleRight && y >= g.VisibleTop &&
               y <= g.VisibleBottom;
    };
    std::size_t shown = 0;
    for (const auto& v : engine.Net.Vertices)
        shown += inside(v->X, v->Y);
    for (const auto& t : engine.Net.Transitions)
        shown += inside(t->X, t->Y);
    return 100.0 * shown / (engine.Net.Vertices.size() + engine.Net.Transitions.size());
}

int Runs(int objects) {
    return objects >= 100000 ? 7 : objects >= 10000 ? 21 : 61;
}

void Report(const char* net, int objects, const char* frame, const TEngine& engine, double ms) {
    std::printf("%-10s %7d  %-12s %7.1f %8.1f %10.2f %8.2f\n", net, objects, frame,
                engine.Graph.Scale / engine.Graph.Options.NormalScale * 100, PercentInView(engine),
                ms, ms / kRefreshMs);
}

// Whether a net is also timed with 1 % of its objects changing between frames.
enum class TChangingFrames { Skipped, Timed };

void Bench(const char* net, int objects, TChangingFrames changing) {
    TEngine engine;
    InitEngine(engine);
    const TProductionLineShape shape = ProductionLineShapeFor(objects);
    BuildProductionLine(engine, shape);
    const int count = ProductionLineObjects(shape);
    ApplyColors(engine);
    ResizeView(engine.Graph, kWidth, kHeight);
    const int runs = Runs(count);

    // A run with the view still: before each frame 1 % of the objects, vertices taken in turn
    // across the net, get another marking.
    auto& vertices = engine.Net.Vertices;
    const std::size_t changed = std::max<std::size_t>(1, count / 100);
    std::size_t next = 0;
    int round = 0;
    auto changeAndDraw = [&] {
        ++round;
        for (std::size_t i = 0; i < changed; ++i) {
            vertices[next]->Marking = round % 7;
            next = (next + 37) % vertices.size();
        }
        DrawFrame(engine);
    };

    for (const bool whole : {false, true}) {
        LookAtMiddle(engine, whole ? FitScale(engine) : engine.Graph.Options.NormalScale);
        DrawFrame(engine); // the first frame of a view sets up fonts and caches
        int shift = 1;
        auto moveAndDraw = [&] {
            engine.Graph.CenterX += shift;
            shift = -shift;
            DrawFrame(engine);
        };
        const char* view = whole ? "whole" : "part";
        Report(net, count, view, engine, MedianMs(moveAndDraw, runs));
        Report(net, count, (std::string(view) + " still").c_str(), engine,
               MedianMs([&] { DrawFrame(engine); }, runs));
        if (changing == TChangingFrames::Timed)
            Report(net, count, (std::string(view) + "+1%").c_str(), engine,
                   MedianMs(changeAndDraw, runs));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::printf("%dx%d, median of repeated frames, ratio to the %.0f ms refresh period\n", kWidth,
                kHeight, kRefreshMs);
    std::printf("%-10s %7s  %-12s %7s %8s %10s %8s\n", "net", "objects", "frame", "zoom_%",
                "in_view%", "median_ms", "ratio");
    const std::string only = argc > 1 ? argv[1] : "";
    for (const auto& [net, objects, changing] :
         {std::tuple{"line1000", 1000, TChangingFrames::Skipped},
          std::tuple{"line10000", 10000, TChangingFrames::Timed},
          std::tuple{"line100000", 100000, TChangingFrames::Skipped}})
        if (std::string(net).find(only) != std::string::npos)
            Bench(net, objects, changing);
    return 0;
}
