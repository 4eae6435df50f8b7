// Events per second of the simulation step, each run an interval run from model time 0 in a
// process of its own (so that the peak memory is its own), side by side in one invocation:
// - the benchmark nets with the engine's step;
// - the ring of 1000 with the literal step the engine's is checked against;
// - M/M/1 with every vertex and transition monitored (compaction on, default lengths), against
//   the same run unmonitored, the best of five runs of each;
// - the monitored M/M/1 over growing horizons, to show that the peak memory stays flat.
//   build/release/bench/sim_bench
//   build/release/bench/sim_bench NET HORIZON [literal] [monitored]   one run, in this process
#include "Monitoring.h"
#include "NetFile.h"
#include "Random.h"
#include "ReferenceEngine.h"
#include "RunControl.h"
#include "SimRun.h"
#include "SimulationStep.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TRun {
    const char* Net;
    double Horizon;
    bool Reference = false;
    bool Monitored = false;
};

struct TResult {
    double EventsPerSecond = 0;
    long PeakKib = 0;
};

TResult RunHere(const TRun& run) {
    static TEngine engine;
    InitEngine(engine);
    LoadNet(engine, std::string(KVL_BENCH_NETS) + "/" + run.Net + ".kvl");
    if (run.Monitored) {
        for (auto& vertex : engine.Net.Vertices)
            StartMonitoring(*vertex, 0);
        for (auto& transition : engine.Net.Transitions)
            StartMonitoring(*transition, 0);
    }
    engine.Random.Seed = 1;
    const auto start = std::chrono::steady_clock::now();
    RunWholeInterval(engine, run.Horizon,
                     run.Reference ? reference::SimulationStep : SimulationStep);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%-9s %-9s %-9s horizon %-8g events %-10llu wall_s %7.3f events_per_s %10.0f "
                "peak_kib %ld\n",
                run.Net, run.Reference ? "literal" : "engine", run.Monitored ? "monitored" : "-",
                run.Horizon, static_cast<unsigned long long>(engine.Net.EventCount), seconds,
                engine.Net.EventCount / seconds, usage.ru_maxrss);
    return {engine.Net.EventCount / seconds, usage.ru_maxrss};
}

// Runs in a child process and reads its result back through a pipe.
TResult Run(const TRun& run) {
    std::fflush(stdout);
    int channel[2];
    if (pipe(channel) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const TResult result = RunHere(run);
        std::fflush(stdout);
        if (write(channel[1], &result, sizeof result) != sizeof result)
            _exit(1);
        _exit(0);
    }
    close(channel[1]);
    TResult result;
    if (read(channel[0], &result, sizeof result) != sizeof result)
        result = {};
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return result;
}

TResult Faster(const TResult& a, const TResult& b) {
    return b.EventsPerSecond > a.EventsPerSecond ? b : a;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3) {
        TRun run{argv[1], std::stod(argv[2])};
        for (int i = 3; i < argc; ++i) {
            run.Reference = run.Reference || std::string(argv[i]) == "literal";
            run.Monitored = run.Monitored || std::string(argv[i]) == "monitored";
        }
        RunHere(run);
        return 0;
    }
    for (const TRun& run : {TRun{"mm1", 2000000}, TRun{"ring10", 20000}, TRun{"mixed", 500000}})
        Run(run);
    const TResult ring = Run({"ring1000", 1000});
    const TResult literal = Run({"ring1000", 1000, true});
    // The ratio of the best of five of each, alternating, so that a busy moment of a shared
    // machine does not decide it.
    TResult plain, monitored;
    for (int round = 0; round < 5; ++round) {
        plain = Faster(plain, Run({"mm1", 2500000}));
        monitored = Faster(monitored, Run({"mm1", 2500000, false, true}));
    }
    std::printf("ring1000: engine / literal step = %.1f\n",
                ring.EventsPerSecond / literal.EventsPerSecond);
    std::printf("mm1: monitored time / unmonitored time = %.2f\n",
                plain.EventsPerSecond / monitored.EventsPerSecond);
    for (double horizon : {250000.0, 2500000.0, 10000000.0})
        Run({"mm1", horizon, false, true});
    return 0;
}
