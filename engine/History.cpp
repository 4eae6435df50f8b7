#include "History.h"

void HistoryClear(HistoryList& list) {
    list.Samples.clear();
    list.Samples.shrink_to_fit();
}
