// The cost of recording vertex samples with history compaction on (N = 2000) and off.
//   build/release/bench/history_bench
#include "Monitoring.h"
#include "NetRecords.h"

#include <benchmark/benchmark.h>

namespace {

void RecordSamples(benchmark::State& state) {
    const bool compaction = state.range(0) != 0;
    const int samples = static_cast<int>(state.range(1));
    const THistorySettings settings{compaction, 2000, compaction, 2000};
    for (auto _ : state) {
        TVertex vertex;
        vertex.Marking = 10;
        StartMonitoring(vertex, 0);
        std::uint32_t walk = 1;
        for (int i = 1; i < samples; ++i) {
            walk = walk * 1664525u + 1013904223u;
            vertex.Marking += (walk >> 31) ? 1 : (vertex.Marking > 0 ? -1 : 1);
            RecordVertexSample(vertex, i * 0.5, (walk >> 30) & 1, settings);
        }
        benchmark::DoNotOptimize(vertex.History.Samples.data());
    }
    state.SetItemsProcessed(state.iterations() * samples);
}

BENCHMARK(RecordSamples)
    ->ArgNames({"compaction", "samples"})
    ->Args({0, 1000000})
    ->Args({1, 1000000})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
