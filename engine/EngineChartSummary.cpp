#include "EngineChartSummary.h"

#include "EngineChart.h"
#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

TValueRange ScanRange(const std::vector<HistorySample>& samples, std::size_t first,
                      std::size_t end) {
    TValueRange range{samples[first].Value, samples[first].Value};
    for (std::size_t i = first + 1; i < end; ++i) {
        range.Least = std::min(range.Least, samples[i].Value);
        range.Greatest = std::max(range.Greatest, samples[i].Value);
    }
    return range;
}

void Widen(TValueRange& range, const TValueRange& other) {
    range.Least = std::min(range.Least, other.Least);
    range.Greatest = std::max(range.Greatest, other.Greatest);
}

std::int32_t CentreOf(double value) {
    constexpr double limit = std::numeric_limits<std::int32_t>::max();
    return RoundToInt(std::clamp(value, -limit, limit));
}

// The scale (chart units per unit) at which the 80 units between grid lines at zoom 1 stand for a
// round number of units (1, 1.25, 1.6, 2, 2.5, 4, 5 or 8 times a power of ten) and `span` units
// take at most `pixels`: the labels stay short and the data fills at least 5/8 of the room.
double RoundScale(double span, double pixels) {
    constexpr double kGridStep = 80;
    const double wanted = kGridStep * span / pixels; // units between grid lines
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (double mantissa : {1.0, 1.25, 1.6, 2.0, 2.5, 4.0, 5.0, 8.0, 10.0})
        if (mantissa * power >= wanted)
            return kGridStep / (mantissa * power);
    return kGridStep / (10 * power);
}

} // namespace

void UpdateSummary(TChartSeriesSummary& summary, const HistoryList& list) {
    if (summary.List != &list || summary.Generation != list.Generation) {
        summary.List = &list;
        summary.Generation = list.Generation;
        summary.Blocks.clear();
    }
    const std::size_t settled = list.Samples.empty() ? 0 : list.Samples.size() - 1;
    for (std::size_t k = summary.Blocks.size(); (k + 1) * kSummaryBlock <= settled; ++k)
        summary.Blocks.push_back(
            ScanRange(list.Samples, k * kSummaryBlock, (k + 1) * kSummaryBlock));
}

TValueRange SampleValueRange(const TChartSeriesSummary& summary, const HistoryList& list,
                             std::size_t first, std::size_t end) {
    const std::size_t block = (first + kSummaryBlock - 1) / kSummaryBlock; // first whole block
    std::size_t blockEnd = std::min(end / kSummaryBlock, summary.Blocks.size());
    if (block >= blockEnd)
        return ScanRange(list.Samples, first, end);
    TValueRange range = summary.Blocks[block];
    for (std::size_t k = block + 1; k < blockEnd; ++k)
        Widen(range, summary.Blocks[k]);
    if (first < block * kSummaryBlock)
        Widen(range, ScanRange(list.Samples, first, block * kSummaryBlock));
    if (blockEnd * kSummaryBlock < end)
        Widen(range, ScanRange(list.Samples, blockEnd * kSummaryBlock, end));
    return range;
}

void FitChartToExtent(TEngineChart& c, TChartExtent extent) {
    if (!(extent.TimeTo > extent.TimeFrom))
        extent.TimeTo = extent.TimeFrom + 1;
    if (!(extent.ValueTo > extent.ValueFrom)) {
        extent.ValueFrom -= 0.5;
        extent.ValueTo += 0.5;
    }
    constexpr double kMargin = 0.05; // of the chart's width or height, on each side
    c.ChartZoom = 1;                 // one chart unit a pixel
    const double width = std::max(1.0, c.ChartWidth * (1 - 2 * kMargin));
    const double height = std::max(1.0, c.ChartHeight * (1 - 2 * kMargin));
    c.ScaleX = RoundScale(extent.TimeTo - extent.TimeFrom, width);
    c.ScaleY = RoundScale(extent.ValueTo - extent.ValueFrom, height);
    c.ChartCenterX = CentreOf((extent.TimeFrom + extent.TimeTo) / 2 * c.ScaleX);
    c.ChartCenterY = CentreOf(-(extent.ValueFrom + extent.ValueTo) / 2 * c.ScaleY);
}
