#include "SimRun.h"

#include "Firing.h"
#include "RunControl.h"
#include "SimulationStep.h"

#include <algorithm>

const char* TRunCancelled::what() const noexcept {
    return "Прогін скасовано";
}

TRunStop RunWholeInterval(TEngine& engine, double interval, TStepFunction step,
                          const std::atomic<bool>* cancel) {
    // The engine looks at the flag only during this run.
    struct TStopRequestScope {
        TEngine& Engine;
        ~TStopRequestScope() { Engine.StopRequest = nullptr; }
    } scope{engine};
    engine.StopRequest = cancel;
    auto cancelled = [&] { return cancel && cancel->load(std::memory_order_relaxed); };
    RunInterval(engine, interval < 0 ? 0 : interval);
    for (;;) {
        if (SkipIdleInterval(engine)) {
            StopRun(engine);
            return rsNone;
        }
        const double span = std::min(engine.IntervalEnd - engine.Net.ModelTime, IntervalSpanCap);
        if (cancelled()) {
            StopRun(engine);
            throw TRunCancelled();
        }
        const bool stopped = step(engine.Net, engine.ConflictCheck, engine.Net.ModelTime, span,
                                  false, engine, NoTimeBudget);
        if (cancelled()) {
            StopRun(engine);
            throw TRunCancelled();
        }
        if (stopped) {
            StopRun(engine);
            return engine.Net.StopCause;
        }
        if (IntervalEndReached(engine)) {
            StopRun(engine);
            return rsNone;
        }
    }
}
