#include "SimRun.h"

#include "RunControl.h"
#include "SimulationStep.h"

#include <algorithm>

TRunStop RunWholeInterval(TEngine& engine, double interval, TStepFunction step) {
    RunInterval(engine, interval < 0 ? 0 : interval);
    for (;;) {
        if (SkipIdleInterval(engine)) {
            StopRun(engine);
            return rsNone;
        }
        const double span = std::min(engine.IntervalEnd - engine.Net.ModelTime, IntervalSpanCap);
        if (step(engine.Net, engine.ConflictCheck, engine.Net.ModelTime, span, false, engine,
                 NoTimeBudget)) {
            StopRun(engine);
            return engine.Net.StopCause;
        }
        if (IntervalEndReached(engine)) {
            StopRun(engine);
            return rsNone;
        }
    }
}
