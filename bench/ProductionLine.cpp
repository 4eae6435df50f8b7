#include "ProductionLine.h"

#include "NetObjects.h"
#include "TextCodec.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Per row: the source vertex and transition with their three connections, and the output
// vertex; per station: the buffer, the machine and their two connections.
constexpr int kRowObjects = 6;
constexpr int kStationObjects = 4;
// Width over height of the whole line: a station is two steps wide, a row one pitch tall.
constexpr double kAspect = 1.6;
constexpr double kArrivalMean = 1.0;
constexpr double kMachineMean = 0.9;

std::string Name(const char* utf8Stem, int row, int station = 0) {
    std::string name = Utf8ToWin1251(utf8Stem) + "_" + std::to_string(row);
    if (station > 0)
        name += "_" + std::to_string(station);
    return name;
}

TTransition* Machine(TEngine& engine, const std::string& name, double mean, int x, int y) {
    TTransition* t = CreateTransition(engine.Net, name, x, mean, y, &engine.Graph.Options);
    t->DelayType = dtExponential;
    return t;
}

void Arc(TEngine& engine, TConnectionType type, TVertex* v, TTransition* t) {
    CreateConnection(engine.Net, type, 1, v, t, &engine.Graph.Options);
}

} // namespace

int ProductionLineObjects(TProductionLineShape shape) {
    return shape.Rows * (kRowObjects + kStationObjects * shape.Stations);
}

TProductionLineShape ProductionLineShapeFor(int objects) {
    // Width 2 * Step * Stations against height Pitch * Rows, and about 4 objects a station; of
    // the row counts either side of that, the one whose line comes nearer the size.
    const double stationsPerRow =
        kAspect * ProductionLineRowPitch / (2.0 * ProductionLineStep); // Stations / Rows
    const double rows = std::sqrt(objects / (kStationObjects * stationsPerRow));
    TProductionLineShape best{1, 1};
    for (int candidate : {static_cast<int>(std::floor(rows)), static_cast<int>(std::ceil(rows))}) {
        candidate = std::max(1, candidate);
        const TProductionLineShape shape{
            candidate, std::max(1, (objects / candidate - kRowObjects) / kStationObjects)};
        if (ProductionLineObjects(shape) > ProductionLineObjects(best))
            best = shape;
    }
    return best;
}

void BuildProductionLine(TEngine& engine, TProductionLineShape shape) {
    TEngineNet& net = engine.Net;
    const TEngineGraphOptions* options = &engine.Graph.Options;
    constexpr int step = ProductionLineStep;
    for (int row = 1; row <= shape.Rows; ++row) {
        const int y = (row - 1) * ProductionLineRowPitch;
        TVertex* source = CreateVertex(net, Name("Джерело", row), 1, -2 * step, y, options);
        TTransition* arrive = Machine(engine, Name("Надходження", row), kArrivalMean, -step, y);
        // The source keeps its token: the arrival takes it and puts it back.
        Arc(engine, ctVT, source, arrive);
        Arc(engine, ctTV, source, arrive);
        TTransition* feeding = arrive;
        for (int station = 1; station <= shape.Stations; ++station) {
            const int x = 2 * step * (station - 1);
            TVertex* buffer = CreateVertex(net, Name("Буфер", row, station), 0, x, y, options);
            Arc(engine, ctTV, buffer, feeding);
            feeding = Machine(engine, Name("Верстат", row, station), kMachineMean, x + step, y);
            Arc(engine, ctVT, buffer, feeding);
        }
        TVertex* done =
            CreateVertex(net, Name("Готово", row), 0, 2 * step * shape.Stations, y, options);
        Arc(engine, ctTV, done, feeding);
    }
}
