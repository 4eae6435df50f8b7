#include "History.h"

namespace {

// Busy time accumulated up to `time`, continuing from the sample before it.
double BusyAfter(const HistorySample& previous, double time) {
    return previous.Value > 0 ? previous.Aux + (time - previous.Time) : previous.Aux;
}

} // namespace

void HistoryAdd(HistoryList& list, THistoryMode mode, double aux, double value, double time) {
    auto& samples = list.Samples;
    if (samples.empty()) {
        samples.push_back({time, value, aux});
        return;
    }
    HistorySample& last = samples.back();
    if (time > last.Time) {
        const double newAux = mode == hmBusy ? BusyAfter(last, time) : aux;
        samples.push_back({time, value, newAux});
        return;
    }
    last.Value = value;
    switch (mode) {
    case hmReplace:
        last.Aux = aux;
        break;
    case hmAccumulate:
        last.Aux += aux;
        break;
    case hmBusy:
        if (samples.size() > 1)
            last.Aux = BusyAfter(samples[samples.size() - 2], last.Time);
        break;
    }
}

void HistoryClear(HistoryList& list) {
    list.Samples.clear();
    list.Samples.shrink_to_fit();
}
