#include "SimRun.h"

#include "Firing.h"
#include "RunControl.h"
#include "SimulationStep.h"

#include <algorithm>

const char* TRunCancelled::what() const noexcept {
    return "Прогін скасовано";
}

namespace {

// One span, from the model time to `spanEnd`, in slices that stop to look at the flag. Returns
// what the step returned: true when it stopped the run.
bool RunSpanInSlices(TEngine& engine, double spanEnd, TStepFunction step,
                     const std::atomic<bool>& cancel, int sliceMs) {
    for (;;) {
        if (cancel.load(std::memory_order_relaxed)) {
            StopRun(engine);
            throw TRunCancelled();
        }
        const double start = engine.Net.ModelTime;
        if (step(engine.Net, engine.ConflictCheck, start, spanEnd - start, false, engine, sliceMs))
            return true;
        // A slice that ran to its end leaves the model time on the span's end.
        if (engine.Net.ModelTime >= RoundToTimeGrid(spanEnd))
            return false;
    }
}

} // namespace

TRunStop RunWholeInterval(TEngine& engine, double interval, TStepFunction step,
                          const std::atomic<bool>* cancel, int sliceMs) {
    RunInterval(engine, interval < 0 ? 0 : interval);
    for (;;) {
        if (SkipIdleInterval(engine)) {
            StopRun(engine);
            return rsNone;
        }
        const double span = std::min(engine.IntervalEnd - engine.Net.ModelTime, IntervalSpanCap);
        const bool stopped =
            cancel ? RunSpanInSlices(engine, engine.Net.ModelTime + span, step, *cancel, sliceMs)
                   : step(engine.Net, engine.ConflictCheck, engine.Net.ModelTime, span, false,
                          engine, NoTimeBudget);
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
