#include "RunControl.h"

#include "Firing.h"

#include <algorithm>

void RunInterval(TEngine& engine, double length) {
    engine.RunMode = 1;
    engine.IntervalLength = length;
    engine.IntervalEnd = engine.Net.ModelTime + length;
}

bool IntervalStep(TEngine& engine, int budgetMs) {
    const double span = std::min(engine.IntervalEnd - engine.Net.ModelTime, IntervalSpanCap);
    return SimulationStep(engine.Net, engine.ConflictCheck, engine.Net.ModelTime, span, false, engine,
                          budgetMs);
}

bool IntervalEndReached(const TEngine& engine) {
    return engine.Net.ModelTime >= RoundToTimeGrid(engine.IntervalEnd);
}

void StopRun(TEngine& engine) { engine.RunMode = 0; }
