// Short runs of any net that loads: the run ends or stops with its message, within a budget of
// wall-clock time per step, never a crash.
#include "EngineError.h"
#include "Formula.h"
#include "FuzzSupport.h"
#include "NetFile.h"
#include "RunControl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    TEngine engine;
    if (!LoadInput(engine, data + 2, size - 2))
        return 0;
    if (!CheckFormulas(engine.Net).Valid)
        return 0;
    engine.Random.Seed = data[0];
    engine.ConflictCheck = data[1] & 1;
    RunInterval(engine, 1 + data[1] % 50);
    for (int step = 0; step < 4; ++step)
        if (IntervalStep(engine, 20) || IntervalEndReached(engine))
            break;
    return 0;
}
