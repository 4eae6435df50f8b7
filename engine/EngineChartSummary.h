// What the chart needs to draw a long history quickly: the least and greatest value of each whole
// block of samples, kept from one redraw to the next and brought up to date with the history, so
// that the value range of any stretch of samples costs two partial blocks and a walk over blocks
// rather than a walk over every sample.
#pragma once

#include "History.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct TEngineChart;

constexpr std::size_t kSummaryBlock = 64; // samples summed up in one block

struct TValueRange {
    double Least = 0;
    double Greatest = 0;
};

struct TChartSeriesSummary {
    const HistoryList* List = nullptr;
    std::uint64_t Generation = 0;    // the list's generation the blocks were taken from
    std::vector<TValueRange> Blocks; // of samples [k * kSummaryBlock, (k + 1) * kSummaryBlock)
};

// Starts the summary afresh when it belongs to another list or to samples since replaced, then
// adds the blocks completed since. Only samples before the last are summed up: the last one may
// still change (a later change at the same time merges into it).
void UpdateSummary(TChartSeriesSummary& summary, const HistoryList& list);
// The least and greatest value of samples [first, end) of the list the summary is up to date
// with; first < end.
TValueRange SampleValueRange(const TChartSeriesSummary& summary, const HistoryList& list,
                             std::size_t first, std::size_t end);

// The stretch of model time and the values a chart shows.
struct TChartExtent {
    double TimeFrom = 0;
    double TimeTo = 0;
    double ValueFrom = 0;
    double ValueTo = 0;
};

// Sets zoom 1, the axis scales and the centre so that the extent fits in the chart but a small
// margin on every side, filling at least 5/8 of it each way, at scales whose grid lines fall on
// round numbers. An empty stretch or value range is widened to one unit.
void FitChartToExtent(TEngineChart& chart, TChartExtent extent);
