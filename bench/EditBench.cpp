// Edits and loads of large nets, and formulas of many products. Each case takes the number of
// objects (or products) as its argument:
//   build-rel/bench/edit_bench
#include "Engine.h"
#include "Formula.h"
#include "NetBuffer.h"
#include "NetFile.h"
#include "NetObjects.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::filesystem::path NetPath(const char* what, std::int64_t n) {
    return std::filesystem::temp_directory_path() / ("edit_bench_" + std::to_string(::getpid()) +
                                                     "_" + what + "_" + std::to_string(n) + ".net");
}

// A net whose n vertices all have empty names: the reader names them P1, P2, ...
void LoadEmptyNames(benchmark::State& state) {
    const std::int64_t n = state.range(0);
    TEngineNet net;
    for (std::int64_t i = 0; i < n; ++i)
        CreateVertex(net, "v", 0, 0, 0, nullptr)->Name.clear();
    const std::filesystem::path path = NetPath("empty_names", n);
    std::ofstream(path, std::ios::binary) << NetText(net);
    for (auto _ : state) {
        TEngine engine;
        LoadNet(engine, path);
        benchmark::DoNotOptimize(engine.Net.Vertices.back()->Name.data());
    }
    std::filesystem::remove(path);
}

// n vertices named P1..Pn and n / 100 transitions named Q1.., copied and pasted twice: the
// vertices take automatic names, the transitions the first free numbers after their own.
void PasteNamed(benchmark::State& state) {
    const std::int64_t n = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        TEngine engine;
        InitEngine(engine);
        for (std::int64_t i = 1; i <= n; ++i)
            engine.Choiced.Items.push_back(
                CreateVertex(engine.Net, "P" + std::to_string(i), 0, 0, 0, nullptr));
        for (std::int64_t i = 1; i <= n / 100; ++i)
            engine.Choiced.Items.push_back(
                CreateTransition(engine.Net, "Q" + std::to_string(i), 0, 1, 0, nullptr));
        CopyFragment(engine, 0, 0);
        state.ResumeTiming();
        PasteFragment(engine, 10, 10);
        PasteFragment(engine, 20, 20);
        benchmark::DoNotOptimize(engine.Net.Vertices.back()->Name.data());
    }
}

// One transition with an input connection from each of n vertices.
void BuildStar(TEngineNet& net, std::int64_t n) {
    TTransition* hub = CreateTransition(net, "T1", 0, 1, 0, nullptr);
    for (std::int64_t i = 1; i <= n; ++i)
        CreateConnection(net, ctVT, 1, CreateVertex(net, "P" + std::to_string(i), 1, 0, 0, nullptr),
                         hub, nullptr);
}

void LoadStar(benchmark::State& state) {
    const std::int64_t n = state.range(0);
    TEngineNet net;
    BuildStar(net, n);
    const std::filesystem::path path = NetPath("star", n);
    std::ofstream(path, std::ios::binary) << NetText(net);
    for (auto _ : state) {
        TEngine engine;
        LoadNet(engine, path);
        benchmark::DoNotOptimize(engine.Net.Connections.back().get());
    }
    std::filesystem::remove(path);
}

// Clears a star the way New does, the vertices from the last.
void ClearStar(benchmark::State& state) {
    const std::int64_t n = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        TEngine engine;
        InitEngine(engine);
        BuildStar(engine.Net, n);
        state.ResumeTiming();
        ClearNet(engine.Net, &engine);
        benchmark::DoNotOptimize(engine.Net.Vertices.size());
    }
}

// Deletes a vertex with an output connection to each of n transitions, keeping what it deletes
// as the undo journal does.
void DeleteHubVertex(benchmark::State& state) {
    const std::int64_t n = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        TEngineNet net;
        TVertex* hub = CreateVertex(net, "P1", 1, 0, 0, nullptr);
        for (std::int64_t i = 1; i <= n; ++i)
            AppendConnection(net, ctVT, 1, hub,
                             CreateTransition(net, "T" + std::to_string(i), 0, 1, 0, nullptr),
                             nullptr);
        TDetachedObjects kept;
        state.ResumeTiming();
        DeleteVertex(net, 0, nullptr, &kept);
        benchmark::DoNotOptimize(kept.size());
    }
}

// A formula of n products and quotients over two markings, evaluated as the firing rule does.
void EvaluateProducts(benchmark::State& state) {
    const std::int64_t n = state.range(0);
    TEngineNet net;
    CreateVertex(net, "a", 3, 0, 0, nullptr);
    TVertex* b = CreateVertex(net, "b", 2, 0, 0, nullptr);
    TTransition* t = CreateTransition(net, "T1", 0, 1, 0, nullptr);
    TConnection* c = CreateConnection(net, ctVT, 1, b, t, nullptr);
    c->UseFunction = true;
    c->Formula = "M(a)";
    for (std::int64_t i = 0; i < n; ++i)
        c->Formula += i % 2 == 0 ? "*M(b)" : "/2";
    c->Formula += "+1";
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateFormula(*c, net));
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(LoadEmptyNames)->Apply(Sizes);
BENCHMARK(PasteNamed)->Apply(Sizes);
BENCHMARK(LoadStar)->Apply(Sizes);
BENCHMARK(ClearStar)->Apply(Sizes);
BENCHMARK(DeleteHubVertex)->Apply(Sizes);
BENCHMARK(EvaluateProducts)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
