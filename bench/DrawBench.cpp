// Median time of DrawFrame at 1280 x 800 on nets of 100, 1000 and 10000 objects (a third each
// vertices, transitions and connections, spread over the view at 100 %), against the default
// refresh period of 14 ms; then nets of 10000 and 100000 objects spread over three times the
// view's width and height, of which the view at 100 % shows about a ninth.
//   build/release/bench/draw_bench
#include "Frame.h"
#include "MedianTime.h"
#include "NetObjects.h"
#include "Settings.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

void Fill(TEngine& engine, int objects, int spread) {
    std::mt19937 random(7);
    const TEngineGraph& g = engine.Graph;
    std::uniform_int_distribution<int> x(-4300 * spread, 4300 * spread),
        y(-2600 * spread, 2600 * spread);
    const int each = objects / 3;
    for (int i = 0; i < each; ++i)
        CreateVertex(engine.Net, "", i % 10, x(random), y(random), &g.Options);
    for (int i = 0; i < each; ++i)
        CreateTransition(engine.Net, "", x(random), 1.5, y(random), &g.Options);
    for (int i = 0; i < each; ++i) {
        TVertex* v = engine.Net.Vertices[i].get();
        TTransition* t = engine.Net.Transitions[(i * 7) % each].get();
        CreateConnection(engine.Net, i % 2 ? ctVT : ctTV, 1 + i % 3, v, t, &g.Options);
    }
}

double MedianFrameMs(int objects, int spread) {
    static TEngine engine;
    InitEngine(engine);
    Fill(engine, objects, spread);
    ApplyColors(engine);
    ResizeView(engine.Graph, 1280, 800);
    const int frames = objects >= 100000 ? 7 : objects >= 10000 ? 15 : 60;
    return MedianMs([] { DrawFrame(engine); }, frames);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    for (int objects : {100, 1000, 10000}) {
        const double ms = MedianFrameMs(objects, 1);
        std::printf("objects %-6d median_frame_ms %8.2f ratio_to_14ms %6.2f\n", objects, ms,
                    ms / 14.0);
    }
    for (int objects : {10000, 100000}) {
        const double ms = MedianFrameMs(objects, 3);
        std::printf("objects %-6d part_in_view median_frame_ms %8.2f ratio_to_14ms %6.2f\n",
                    objects, ms, ms / 14.0);
    }
    return 0;
}
