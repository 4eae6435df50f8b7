#include "HistoryTotals.h"

#include <algorithm>
#include <cmath>

std::ptrdiff_t LastSampleAtOrBefore(const HistoryList& list, double time) {
    const auto& samples = list.Samples;
    const auto after =
        std::upper_bound(samples.begin(), samples.end(), time,
                         [](double t, const HistorySample& s) { return t < s.Time; });
    return (after - samples.begin()) - 1;
}

std::ptrdiff_t FirstSampleAtOrAfter(const HistoryList& list, double time) {
    const auto& samples = list.Samples;
    const auto at = std::lower_bound(samples.begin(), samples.end(), time,
                                     [](const HistorySample& s, double t) { return s.Time < t; });
    return at - samples.begin();
}

THistoryTotals TotalsAt(const HistoryList& list, double time) {
    const auto& samples = list.Samples;
    const HistorySample& first = samples.front();
    if (time < first.Time)
        return {(time - first.Time) * list.LeadValue(), 0, 0, first.Time};
    const std::ptrdiff_t k = LastSampleAtOrBefore(list, time);
    const HistorySample& at = samples[k];
    const bool last = k + 1 == static_cast<std::ptrdiff_t>(samples.size());
    const double nextTime = time == at.Time ? time : last ? INFINITY : samples[k + 1].Time;
    const double receivedBeforeSample = k > 0 ? samples[k - 1].Aux : 0;
    if (k >= list.MeanCount) {
        // The sample's value held from its time up to the next sample (or up to now).
        return {at.Area + at.Value * (time - at.Time),
                time > at.Time ? at.Aux : receivedBeforeSample, BusyAfter(at, time), nextTime};
    }
    const THistoryAnchor& anchor = list.Anchor;
    if (anchor.Valid && anchor.Time == time)
        return {anchor.Area, anchor.ReceivedBefore, anchor.Busy, anchor.NextSampleTime};
    // A compacted stretch: its totals are known at both ends only, and whether a sample lay
    // between the moment and the stretch's end is not known at all.
    const HistorySample& next = samples[k + 1];
    const double share = (time - at.Time) / (next.Time - at.Time);
    return {at.Area + share * (next.Area - at.Area),
            receivedBeforeSample + share * (at.Aux - receivedBeforeSample),
            at.Aux + share * (next.Aux - at.Aux), time == at.Time ? time : NAN};
}
