#include "History.h"

#include <atomic>

std::uint64_t NewHistoryGeneration() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

void HistoryClear(HistoryList& list) {
    list.Samples.clear();
    list.Samples.shrink_to_fit();
    list.MeanCount = 0;
    list.ValueBeforeFirst = 0;
    list.Anchor = {};
    list.Generation = NewHistoryGeneration();
}
