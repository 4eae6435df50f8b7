// Median time of a redraw of the "Графіки" chart (640 x 420, fitted to the data) of one vertex
// whose marking history holds 10^3 .. 10^6 samples, and the ratio of each to the 10^3 one; then,
// for comparison, the line drawn with two strokes for every sample, as it was drawn before.
//   build-release/bench/chart_bench
#include "ChartDrawing.h"
#include "FrameImage.h"
#include "History.h"
#include "MedianTime.h"
#include "Monitoring.h"
#include "NetObjects.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

void Fill(TEngine& engine, int samples) {
    InitEngine(engine);
    TVertex* vertex = CreateVertex(engine.Net, "P1", 0, 0, 0, nullptr);
    StartMonitoring(*vertex, 0);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> change(-1, 1);
    std::exponential_distribution<double> step(1.0);
    double time = 0, value = 0;
    for (int i = 1; i < samples; ++i) {
        time += step(random);
        value = std::max(0.0, value + change(random));
        HistoryAdd(vertex->History, hmReplace, 0, value, time);
    }
    engine.Net.ModelTime = time + 1;
    ResizeChart(engine.Chart, 640, 420);
    FitChartToData(engine, {"P1"});
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // The four charts are redrawn in turn, round after round, so that whatever else the machine
    // does weighs on all of them alike.
    const std::vector<int> sizes{1000, 10000, 100000, 1000000};
    static TEngine engines[4];
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        Fill(engines[k], sizes[k]);
        DrawChart(engines[k], {"P1"}); // the first redraw builds the summary
    }
    std::vector<std::vector<double>> times(sizes.size());
    for (int round = 0; round < 301; ++round)
        for (std::size_t k = 0; k < sizes.size(); ++k)
            times[k].push_back(MedianMs([k] { DrawChart(engines[k], {"P1"}); }, 1));
    for (std::size_t k = 0; k < sizes.size(); ++k)
        std::sort(times[k].begin(), times[k].end());
    const double base = times[0][times[0].size() / 2];
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        const double ms = times[k][times[k].size() / 2];
        std::printf("samples %-8d median_redraw_ms %8.3f ratio_to_1000 %6.2f\n", sizes[k], ms,
                    ms / base);
    }
    static TEngine engine;
    for (int samples : {1000, 100000, 1000000}) {
        Fill(engine, samples);
        const TVertex& vertex = *engine.Net.Vertices[0];
        const double ms = MedianMs(
            [&] {
                engine.Chart.ChartBitmap->Image.fill(Qt::white);
                QPainter canvas(&engine.Chart.ChartBitmap->Image);
                DrawMarkingSeriesFull(engine, canvas, 0, "P1", vertex);
            },
            samples >= 1000000 ? 3 : 11);
        std::printf("samples %-8d full_line_ms     %8.3f (every sample stroked, for comparison)\n",
                    samples, ms);
    }
    return 0;
}
