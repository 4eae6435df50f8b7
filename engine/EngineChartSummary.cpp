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
    c.ChartZoom = c.MaxChartZoom;
    const double width = std::max(1.0, c.ChartWidth * (1 - 2 * kMargin));
    const double height = std::max(1.0, c.ChartHeight * (1 - 2 * kMargin));
    c.ScaleX = width / c.ChartZoom / (extent.TimeTo - extent.TimeFrom);
    c.ScaleY = height / c.ChartZoom / (extent.ValueTo - extent.ValueFrom);
    c.ChartCenterX = CentreOf((extent.TimeFrom + extent.TimeTo) / 2 * c.ScaleX);
    c.ChartCenterY = CentreOf(-(extent.ValueFrom + extent.ValueTo) / 2 * c.ScaleY);
}
