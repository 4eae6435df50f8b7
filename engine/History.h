// The history of a monitored vertex or transition: samples of its marking or launch-buffer length,
// each carrying the running totals the window statistics are read from.
#pragma once

#include <cstdint>
#include <vector>

struct HistorySample {
    double Time = 0;  // model time of the sample
    double Value = 0; // the observed quantity from Time until the next sample (after compaction:
                      // its mean over that stretch)
    // Running totals since the first sample, exact at every sample whatever compaction did.
    double Aux = 0;  // vertex: tokens received up to the next sample's time (this instant's
                     // included); transition: busy time from the first sample to Time
    double Area = 0; // time integral of the observed quantity from the first sample to Time
};

// The totals at one moment that compaction would otherwise lose: kept for the warm-up time, so
// that statistics from the warm-up stay exact after the stretch around it has been compacted.
struct THistoryAnchor {
    bool Valid = false;
    double Time = 0;
    double Area = 0;
    double ReceivedBefore = 0;
    double Busy = 0;
    double NextSampleTime = 0; // the time of the first sample at or after Time
};

// Samples in strictly increasing time order, held contiguously. The first MeanCount samples are
// interval means left by compaction; from there on each sample holds the value really in force,
// and the last one always does.
// A number no other history content has had: taken when a list is made and each time its samples
// are replaced rather than appended to (clear, compaction), so that a summary of its samples kept
// elsewhere (the chart's) can tell that it no longer holds.
std::uint64_t NewHistoryGeneration();

struct HistoryList {
    std::vector<HistorySample> Samples;
    std::uint64_t Generation = NewHistoryGeneration();
    std::int32_t MeanCount = 0;
    double ValueBeforeFirst = 0; // the first sample's own value once compaction replaced it
    THistoryAnchor Anchor;

    std::int32_t Count() const { return static_cast<std::int32_t>(Samples.size()); }
    // The value taken as in force before the first sample.
    double LeadValue() const { return MeanCount > 0 ? ValueBeforeFirst : Samples.front().Value; }
};

enum THistoryMode {
    hmReplace,    // a merged sample's tokens of its instant become the new aux
    hmAccumulate, // a merged sample adds the new aux to the tokens of its instant
    hmBusy,       // Aux is the busy time accumulated while the value was above 0
};

// Busy time accumulated up to `time`, continuing from the sample before it.
inline double BusyAfter(const HistorySample& previous, double time) {
    return previous.Value > 0 ? previous.Aux + (time - previous.Time) : previous.Aux;
}

// Adds a sample at `time`, or merges it into the last sample when that one has the same time.
// `aux` is the tokens received at this instant (vertex) or nothing (busy mode, which accumulates
// the busy time itself). A merge changes nothing that happened before `time`, so the area and
// the busy time of the last sample stay. Inline: it is called for every change of every
// monitored object.
[[gnu::flatten]] inline void HistoryAdd(HistoryList& list, THistoryMode mode, double aux,
                                        double value, double time) {
    auto& samples = list.Samples;
    if (samples.empty()) {
        samples.push_back({time, value, aux, 0});
        return;
    }
    HistorySample& last = samples.back();
    if (time > last.Time) {
        // The last sample always holds the value really in force up to now.
        const HistorySample next{time, value,
                                 mode == hmBusy ? BusyAfter(last, time) : last.Aux + aux,
                                 last.Area + last.Value * (time - last.Time)};
        samples.push_back(next);
        return;
    }
    last.Value = value;
    switch (mode) {
    case hmReplace: // this instant's tokens become `aux`
        last.Aux = (samples.size() > 1 ? samples[samples.size() - 2].Aux : 0) + aux;
        break;
    case hmAccumulate:
        last.Aux += aux;
        break;
    case hmBusy:
        break; // the busy time up to this instant does not depend on the new value
    }
}
void HistoryClear(HistoryList& list);

// The tokens a vertex received at sample k's instant (after compaction: in its stretch).
inline double TokensAt(const HistoryList& list, std::size_t k) {
    return list.Samples[k].Aux - (k > 0 ? list.Samples[k - 1].Aux : 0);
}
