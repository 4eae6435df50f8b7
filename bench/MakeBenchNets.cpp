// Writes the benchmark nets, and the sample nets users open, with the program's own SaveNet:
//   build/release/bench/make_bench_nets bench/nets examples
#include "NetFile.h"
#include "NetObjects.h"
#include "ProductionLine.h"
#include "TextCodec.h"

#include <functional>
#include <iostream>
#include <tuple>

namespace {

TVertex* Place(TEngine& e, const std::string& name, int marking, int x, int y) {
    return CreateVertex(e.Net, name, marking, x, y, &e.Graph.Options);
}

TTransition* Station(TEngine& e, const std::string& name, TDelayType type, double delay, int x,
                     int y) {
    TTransition* t = CreateTransition(e.Net, name, x, delay, y, &e.Graph.Options);
    t->DelayType = type;
    t->Weight = 1;
    return t;
}

TConnection* Arc(TEngine& e, TConnectionType type, TVertex* v, TTransition* t, int count = 1) {
    return CreateConnection(e.Net, type, count, v, t, &e.Graph.Options);
}

// A source that keeps its token and puts one into `target` at every firing.
void Generator(TEngine& e, TVertex* source, TTransition* arrive, TVertex* target) {
    Arc(e, ctVT, source, arrive);
    Arc(e, ctTV, source, arrive);
    Arc(e, ctTV, target, arrive);
}

void MakeQueue(TEngine& e) {
    TVertex* source = Place(e, "Source", 1, 0, 0);
    TVertex* queue = Place(e, "Queue", 0, 1000, 0);
    TVertex* free = Place(e, "ServerFree", 1, 2000, -800);
    TTransition* arrive = Station(e, "Arrive", dtExponential, 1.0, 500, 0);
    TTransition* serve = Station(e, "Serve", dtExponential, 0.8, 1500, 0);
    Generator(e, source, arrive, queue);
    Arc(e, ctVT, queue, serve);
    Arc(e, ctVT, free, serve);
    Arc(e, ctTV, free, serve);
}

// A closed ring of `stations` places and transitions with `tokens` spread evenly.
void MakeRing(TEngine& e, int stations, int tokens) {
    std::vector<TVertex*> places;
    for (int i = 0; i < stations; ++i)
        places.push_back(
            Place(e, "P" + std::to_string(i + 1), 0, (i % 40) * 1000, (i / 40) * 1000));
    for (long j = 0; j < tokens; ++j)
        ++places[j * stations / tokens]->Marking;
    for (int i = 0; i < stations; ++i) {
        TTransition* t = Station(e, "T" + std::to_string(i + 1), dtExponential, 1.0,
                                 (i % 40) * 1000 + 500, (i / 40) * 1000);
        Arc(e, ctVT, places[i], t);
        Arc(e, ctTV, places[(i + 1) % stations], t);
    }
}

// A production line where conflicts, priorities, weights, all four delay laws, informational
// and formula connections all take part.
void MakeMixed(TEngine& e) {
    TVertex* source = Place(e, "Source", 1, 0, 0);
    TVertex* buffer = Place(e, "Buffer", 0, 1000, 0);
    TVertex* free1 = Place(e, "Free1", 1, 2000, -800);
    TVertex* free2 = Place(e, "Free2", 1, 2000, 800);
    TVertex* done = Place(e, "Done", 0, 3000, 0);
    TVertex* scrap = Place(e, "Scrap", 0, 2000, 1600);
    TVertex* batches = Place(e, "Batches", 0, 4000, 0);
    TVertex* shift = Place(e, "Shift", 1, 1000, -1600);

    TTransition* arrive = Station(e, "Arrive", dtExponential, 0.4, 500, 0);
    Generator(e, source, arrive, buffer);

    TTransition* m1 = Station(e, "Machine1", dtUniform, 1.0, 1500, -800);
    m1->Deviation = 0.5;
    m1->Priority = 2;
    TTransition* m2 = Station(e, "Machine2", dtNormal, 1.5, 1500, 800);
    m2->Deviation = 0.3;
    m2->Priority = 2;
    m2->Weight = 3;
    for (auto [machine, free] : {std::pair{m1, free1}, std::pair{m2, free2}}) {
        Arc(e, ctVT, buffer, machine);
        Arc(e, ctVT, free, machine);
        Arc(e, ctTV, free, machine);
        Arc(e, ctTV, done, machine);
        Arc(e, ctVT, shift, machine)->IsInform = true;
        Arc(e, ctTV, shift, machine, 0);
    }

    TTransition* reject = Station(e, "Reject", dtExponential, 2.0, 1500, 1600);
    reject->Priority = 1;
    Arc(e, ctVT, buffer, reject, 3);
    Arc(e, ctTV, scrap, reject);

    TTransition* pack = Station(e, "Pack", dtDefault, 0.5, 3500, 0);
    TConnection* all = Arc(e, ctVT, done, pack);
    all->UseFunction = true;
    all->Formula = "M(Done)";
    Arc(e, ctTV, batches, pack);

    TTransition* recycle = Station(e, "Recycle", dtExponential, 5.0, 2500, 1600);
    Arc(e, ctVT, scrap, recycle);
    TConnection* back = Arc(e, ctTV, buffer, recycle);
    back->UseFunction = true;
    back->Formula = "M(Scrap)/2+1";
}

// ---- Sample nets: Ukrainian names, every vertex and transition monitored ----------------------

std::string U(const char* utf8) {
    return Utf8ToWin1251(utf8);
}

TVertex* Place(TEngine& e, const char* name, int marking, int x, int y) {
    return Place(e, U(name), marking, x, y);
}

TTransition* Station(TEngine& e, const char* name, TDelayType type, double delay, double deviation,
                     int x, int y) {
    TTransition* t = Station(e, U(name), type, delay, x, y);
    t->Deviation = deviation;
    return t;
}

void MonitorAll(TEngine& e) {
    for (auto& v : e.Net.Vertices)
        v->IsMonitoring = true;
    for (auto& t : e.Net.Transitions)
        t->IsMonitoring = true;
}

void MakeSampleQueue(TEngine& e) {
    TVertex* source = Place(e, "Джерело", 1, -1500, 0);
    TVertex* queue = Place(e, "Черга", 0, 0, 0);
    TVertex* free = Place(e, "Прилад_вільний", 1, 1500, -900);
    TTransition* arrive = Station(e, "Надходження", dtExponential, 1.0, 0, -750, 0);
    TTransition* serve = Station(e, "Обслуговування", dtExponential, 0.8, 0, 750, 0);
    Generator(e, source, arrive, queue);
    Arc(e, ctVT, queue, serve);
    Arc(e, ctVT, free, serve);
    Arc(e, ctTV, free, serve);
    MonitorAll(e);
}

void MakeSampleLine(TEngine& e) {
    TVertex* source = Place(e, "Заготовки", 1, -3000, 0);
    TVertex* before = Place(e, "Черга_1", 0, -1500, 0);
    TVertex* buffer = Place(e, "Буфер", 0, 0, 0);
    TVertex* done = Place(e, "Готово", 0, 3000, 0);
    TVertex* freeA = Place(e, "Верстат_1_вільний", 1, -750, -900);
    TVertex* freeB = Place(e, "Верстат_2_вільний", 1, 750, -900);
    TTransition* arrive = Station(e, "Надходження", dtExponential, 1.0, 0, -2250, 0);
    TTransition* a = Station(e, "Верстат_1", dtUniform, 0.8, 0.3, -750, 0);
    TTransition* b = Station(e, "Верстат_2", dtNormal, 0.9, 0.1, 750, 0);
    TTransition* out = Station(e, "Вивезення", dtDefault, 0, 0, 2250, 0);
    Generator(e, source, arrive, before);
    for (auto [machine, input, output, free] :
         {std::tuple{a, before, buffer, freeA}, std::tuple{b, buffer, done, freeB}}) {
        Arc(e, ctVT, input, machine);
        Arc(e, ctVT, free, machine);
        Arc(e, ctTV, free, machine);
        Arc(e, ctTV, output, machine);
    }
    Arc(e, ctVT, done, out);
    MonitorAll(e);
}

void MakeSampleConflict(TEngine& e) {
    TVertex* source = Place(e, "Заявки", 1, -2000, 0);
    TVertex* queue = Place(e, "Черга", 0, -500, 0);
    TTransition* arrive = Station(e, "Надходження", dtExponential, 0.7, 0, -1250, 0);
    Generator(e, source, arrive, queue);
    const struct {
        const char* Name;
        const char* Free;
        int Priority;
        double Weight;
        int Y;
    } servers[] = {{"Швидкий", "Швидкий_вільний", 2, 3, -1200},
                   {"Повільний", "Повільний_вільний", 2, 1, 0},
                   {"Резервний", "Резервний_вільний", 1, 1, 1200}};
    TVertex* served = Place(e, "Обслужено", 0, 2500, 0);
    for (const auto& s : servers) {
        TTransition* t = Station(e, s.Name, dtExponential, 1.5, 0, 1000, s.Y);
        t->Priority = s.Priority;
        t->Weight = s.Weight;
        TVertex* free = Place(e, s.Free, 1, 1000, s.Y - 600);
        Arc(e, ctVT, queue, t);
        Arc(e, ctVT, free, t);
        Arc(e, ctTV, free, t);
        Arc(e, ctTV, served, t);
    }
    MonitorAll(e);
}

void MakeSampleFormulas(TEngine& e) {
    TVertex* source = Place(e, "Деталі", 1, -2000, 0);
    TVertex* store = Place(e, "Склад", 0, -500, 0);
    TVertex* size = Place(e, "Розмір_партії", 5, -500, -1200);
    TVertex* boxes = Place(e, "Ящики", 0, 2000, 0);
    TVertex* parts = Place(e, "Відвантажено_деталей", 0, 2000, 1200);
    TTransition* make = Station(e, "Виготовлення", dtExponential, 0.3, 0, -1250, 0);
    TTransition* pack = Station(e, "Пакування", dtDefault, 1.0, 0, 750, 0);
    Generator(e, source, make, store);
    // A whole batch at once: as many parts as the batch size says, tested but not taken from it.
    TConnection* batch = Arc(e, ctVT, store, pack);
    batch->UseFunction = true;
    batch->Formula = U("М(Розмір_партії)");
    Arc(e, ctVT, size, pack)->IsInform = true;
    Arc(e, ctTV, boxes, pack);
    TConnection* count = Arc(e, ctTV, parts, pack);
    count->UseFunction = true;
    count->Formula = U("M(Розмір_партії)*1");
    MonitorAll(e);
}

bool Save(const std::function<void(TEngine&)>& make, const std::filesystem::path& path) {
    TEngine engine;
    InitEngine(engine);
    make(engine);
    SaveNet(engine, path);
    std::cout << path.string() << '\n';
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: make_bench_nets BENCH_FOLDER [EXAMPLES_FOLDER]\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    Save(MakeQueue, folder / "mm1.kvl");
    Save([](TEngine& e) { MakeRing(e, 10, 100); }, folder / "ring10.kvl");
    Save([](TEngine& e) { MakeRing(e, 1000, 100); }, folder / "ring1000.kvl");
    Save(MakeMixed, folder / "mixed.kvl");
    // The 100 000-object line is built in memory by the benchmarks that use it.
    for (int objects : {1000, 10000})
        Save([objects](TEngine& e) { BuildProductionLine(e, ProductionLineShapeFor(objects)); },
             folder / ("line" + std::to_string(objects) + ".kvl"));
    if (argc == 3) {
        const std::filesystem::path examples = argv[2];
        Save(MakeSampleQueue, examples / "queue.kvl");
        Save(MakeSampleLine, examples / "production_line.kvl");
        Save(MakeSampleConflict, examples / "conflict.kvl");
        Save(MakeSampleFormulas, examples / "formulas.kvl");
    }
    return 0;
}
