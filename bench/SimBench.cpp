// Events per second of the simulation step on the benchmark nets: each net runs as an interval
// run from model time 0 to its horizon, in a process of its own so that the peak memory is its own.
//   build/release/bench/sim_bench [NET HORIZON]...
// Without arguments: mm1 2000000, ring10 20000, ring1000 1000, mixed 500000.
#include "NetFile.h"
#include "Random.h"
#include "RunControl.h"
#include "Firing.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void RunOne(const std::string& name, double horizon) {
    static TEngine engine;
    InitEngine(engine);
    LoadNet(engine, std::string(KVL_BENCH_NETS) + "/" + name + ".kvl");
    RandomSeed = 1;
    const auto start = std::chrono::steady_clock::now();
    RunInterval(engine, horizon);
    while (!IntervalStep(engine, NoTimeBudget) && !IntervalEndReached(engine)) {
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%-9s horizon %-8g events %-10llu wall_s %7.3f events_per_s %10.0f peak_kib %ld\n",
                name.c_str(), horizon, static_cast<unsigned long long>(engine.Net.EventCount), seconds,
                engine.Net.EventCount / seconds, usage.ru_maxrss);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::pair<std::string, double>> runs;
    for (int i = 1; i + 1 < argc; i += 2)
        runs.emplace_back(argv[i], std::stod(argv[i + 1]));
    if (runs.empty())
        runs = {{"mm1", 2000000}, {"ring10", 20000}, {"ring1000", 1000}, {"mixed", 500000}};
    for (const auto& [name, horizon] : runs) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            RunOne(name, horizon);
            std::fflush(stdout);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
    return 0;
}
