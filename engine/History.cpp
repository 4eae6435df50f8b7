#include "History.h"

void HistoryClear(HistoryList& list) {
    list.Samples.clear();
    list.Samples.shrink_to_fit();
    list.MeanCount = 0;
    list.ValueBeforeFirst = 0;
    list.Anchor = {};
}
