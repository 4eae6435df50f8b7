// The history of a monitored vertex or transition: samples of its marking or launch-buffer length.
#pragma once

#include <cstdint>
#include <vector>

struct HistorySample {
    double Time = 0;  // model time of the sample
    double Value = 0; // the observed quantity from Time until the next sample
    double Aux = 0;   // vertex: tokens received at this instant; transition: busy time up to Time
};

// Samples in strictly increasing time order, held contiguously.
struct HistoryList {
    std::vector<HistorySample> Samples;

    std::int32_t Count() const { return static_cast<std::int32_t>(Samples.size()); }
};

enum THistoryMode {
    hmReplace,    // a merged sample takes the new aux
    hmAccumulate, // a merged sample adds the new aux to its own
    hmBusy,       // aux is the busy time accumulated while the value was above 0
};

// Busy time accumulated up to `time`, continuing from the sample before it.
inline double BusyAfter(const HistorySample& previous, double time) {
    return previous.Value > 0 ? previous.Aux + (time - previous.Time) : previous.Aux;
}

// Adds a sample at `time`, or merges it into the last sample when that one has the same time.
// Inline: it is called for every change of every monitored object.
[[gnu::flatten]] inline void HistoryAdd(HistoryList& list, THistoryMode mode, double aux, double value,
                                       double time) {
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
void HistoryClear(HistoryList& list);
