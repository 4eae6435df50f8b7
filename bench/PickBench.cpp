// Picking on a large net: the median time of one hit test at random window points and of one
// rubber band, through the picking index and by the walk over every object, and the time of a
// rebuild of the index. The net is a production line of about 100 000 objects: rows of stations
// (vertex -> transition -> vertex ...), the rows stacked.
//
//     pick_bench [objects]
#include "Engine.h"
#include "MedianTime.h"
#include "NetObjects.h"
#include "PickIndex.h"
#include "Picking.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kStationsPerRow = 250;
constexpr int kStationSpacing = 1200; // model units from one vertex to the next in a row
constexpr int kRowSpacing = 1000;

// Each row holds kStationsPerRow transitions, one vertex more, and two connections a station.
void FillProductionLine(TEngine& e, int objects) {
    const TEngineGraphOptions* options = &e.Graph.Options;
    const int perRow = 4 * kStationsPerRow + 1;
    const int rows = std::max(1, objects / perRow);
    for (int row = 0; row < rows; ++row) {
        const int y = row * kRowSpacing;
        // Named here: automatic names would look at every name for each new object.
        auto name = [&](const char* prefix) {
            return prefix + std::to_string(e.Net.Vertices.size() + e.Net.Transitions.size() + 1);
        };
        TVertex* previous = CreateVertex(e.Net, name("P"), 1, 0, y, options);
        for (int station = 0; station < kStationsPerRow; ++station) {
            const int x = station * kStationSpacing;
            TTransition* t =
                CreateTransition(e.Net, name("T"), x + kStationSpacing / 2, 1, y, options);
            TVertex* next = CreateVertex(e.Net, name("P"), 0, x + kStationSpacing, y, options);
            AppendConnection(e.Net, ctVT, 1, previous, t, options);
            AppendConnection(e.Net, ctTV, 1, next, t, options);
            previous = next;
        }
    }
}

// The median time of one call, from batches of `perBatch` calls each.
template <typename Work> double MedianCallMs(Work&& work, int perBatch, int batches) {
    return MedianMs(
               [&] {
                   for (int i = 0; i < perBatch; ++i)
                       work();
               },
               batches) /
           perBatch;
}

} // namespace

int main(int argc, char** argv) {
    const int objects = argc > 1 ? std::atoi(argv[1]) : 100000;
    TEngine engine;
    InitEngine(engine);
    FillProductionLine(engine, objects);
    const std::size_t total =
        engine.Net.Vertices.size() + engine.Net.Transitions.size() + engine.Net.Connections.size();
    TEngineGraph& g = engine.Graph;
    g.ScreenWidth = 1280;
    g.ScreenHeight = 800;
    g.Scale = g.Options.NormalScale;

    // Rebuilt in place, as the first pick after an edit rebuilds the net's index.
    TPickIndex rebuilt;
    BuildPickIndex(rebuilt, engine.Net);
    const double rebuildMs = MedianMs([&] { BuildPickIndex(rebuilt, engine.Net); }, 11);

    // Random views over the net and random points in the window; the same sequence for both.
    std::mt19937 random(7);
    const int width = kStationsPerRow * kStationSpacing;
    const int height =
        static_cast<int>(engine.Net.Transitions.size() / kStationsPerRow) * kRowSpacing;
    std::vector<std::array<int, 4>> points(4096);
    for (auto& p : points)
        p = {std::uniform_int_distribution(0, width)(random),
             std::uniform_int_distribution(0, height)(random),
             std::uniform_int_distribution(0, g.ScreenWidth)(random),
             std::uniform_int_distribution(0, g.ScreenHeight)(random)};
    std::size_t next = 0;
    std::size_t hits = 0;
    auto hitWith = [&](auto test) {
        const auto& p = points[next++ % points.size()];
        g.CenterX = p[0];
        g.CenterY = p[1];
        hits += test(engine, p[2], p[3]) ? 1 : 0;
    };
    CurrentPickIndex(engine.Net); // built once, as the first pick after an edit builds it
    const double indexedHitMs = MedianCallMs(
        [&] { hitWith([](auto& e, int x, int y) { return HitTest(e, x, y); }); }, 1000, 21);
    next = 0;
    const double linearHitMs = MedianCallMs(
        [&] { hitWith([](auto& e, int x, int y) { return HitTestLinear(e, x, y); }); }, 5, 21);

    // A band over a quarter of the window, where the net is.
    auto bandWith = [&](auto band) {
        const auto& p = points[next++ % points.size()];
        g.CenterX = p[0];
        g.CenterY = p[1];
        return band(engine, g.ScreenWidth / 4, g.ScreenHeight / 4, g.ScreenWidth * 3 / 4,
                    g.ScreenHeight * 3 / 4);
    };
    next = 0;
    std::size_t caught = 0;
    const double indexedBandMs = MedianCallMs(
        [&] {
            caught += bandWith([](auto& e, int x1, int y1, int x2, int y2) {
                          return ObjectsInBand(e, x1, y1, x2, y2);
                      }).size();
        },
        100, 21);
    next = 0;
    const double linearBandMs = MedianCallMs(
        [&] {
            bandWith([](auto& e, int x1, int y1, int x2, int y2) {
                return ObjectsInBandLinear(e, x1, y1, x2, y2);
            });
        },
        5, 21);
    next = 0;
    // The whole preview a mouse move during a band makes: the objects, the lists, the connections.
    const double previewMs = MedianCallMs(
        [&] {
            bandWith([](auto& e, int x1, int y1, int x2, int y2) {
                BandPreview(e, x1, y1, x2, y2, TSelectMode::Replace);
                return 0;
            });
        },
        20, 21);

    std::printf("objects %zu (vertices %zu, transitions %zu, connections %zu)\n", total,
                engine.Net.Vertices.size(), engine.Net.Transitions.size(),
                engine.Net.Connections.size());
    std::printf("rebuild_index_ms   %9.3f\n", rebuildMs);
    std::printf("hit_test_ms        indexed %9.5f  linear %9.4f  (hits %zu)\n", indexedHitMs,
                linearHitMs, hits);
    std::printf("band_objects_ms    indexed %9.5f  linear %9.4f  (objects a band %.1f)\n",
                indexedBandMs, linearBandMs, static_cast<double>(caught) / (100.0 * 21.0));
    std::printf("band_preview_ms    indexed %9.4f\n", previewMs);
    return 0;
}
