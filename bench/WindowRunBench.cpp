// The editor's interval run (F8 in the main window, with its drawing and results threads and
// its panels) against the batch run of kvl-sim on the same net, interval and seed, side by side:
// alternating rounds in one process, best of each; prints events per second and their ratio.
//   window_run_bench [ROUNDS]      run it with QT_QPA_PLATFORM=offscreen
#include "Engine.h"
#include "FormMain.h"
#include "FormModeling.h"
#include "NetFile.h"
#include "RunControl.h"
#include "SimRun.h"
#include "SimulationStep.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

const std::filesystem::path kNets = KVL_BENCH_NETS;
constexpr std::uint32_t kSeed = 1;

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point start) {
    return std::chrono::duration<double>(TClock::now() - start).count();
}

// Events per second of the batch run, as kvl-sim runs it.
double BatchRate(const std::filesystem::path& net, double interval) {
    TEngine engine;
    InitEngine(engine);
    LoadNet(engine, net);
    engine.Random.Seed = kSeed;
    const auto before = engine.Net.EventCount;
    const auto start = TClock::now();
    RunWholeInterval(engine, interval, SimulationStep);
    return static_cast<double>(engine.Net.EventCount - before) / Seconds(start);
}

// Events per second of the same run started in the main window, until the window stops it.
double WindowRate(TFormMain& form, TEngine& engine, const std::filesystem::path& net,
                  double interval) {
    LoadNet(engine, net);
    engine.Random.Seed = kSeed;
    form.FormModeling()->LEditInterval()->setText(QString::number(interval, 'g', 17));
    const auto before = engine.Net.EventCount;
    const auto start = TClock::now();
    form.ButtonIntervalClick();
    while (engine.RunMode != rmStopped)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return static_cast<double>(engine.Net.EventCount - before) / Seconds(start);
}

} // namespace

int main(int argc, char* argv[]) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    QTemporaryDir settings;
    qputenv("KVL_CONFIG", QDir(settings.path()).filePath("KVLConfig.ini").toUtf8());
    QApplication application(argc, argv);
    static TEngine engine;
    TFormMain form(engine);
    form.show();
    QCoreApplication::processEvents();

    std::printf("%-9s %10s %14s %14s %7s\n", "net", "interval", "window ev/s", "kvl-sim ev/s",
                "ratio");
    const struct {
        const char* Name;
        double Interval;
    } cases[] = {{"mm1.kvl", 10000000}, {"ring1000.kvl", 3000}};
    for (const auto& c : cases) {
        double bestWindow = 0;
        double bestBatch = 0;
        for (int i = 0; i < rounds; ++i) {
            bestWindow = std::max(bestWindow, WindowRate(form, engine, kNets / c.Name, c.Interval));
            bestBatch = std::max(bestBatch, BatchRate(kNets / c.Name, c.Interval));
        }
        std::printf("%-9s %10.0f %14.0f %14.0f %7.2f\n", c.Name, c.Interval, bestWindow, bestBatch,
                    bestWindow / bestBatch);
    }
    return 0;
}
