#include "HistoryCsv.h"

#include "CsvText.h"
#include "TextCodec.h"

#include <algorithm>
#include <limits>
#include <set>

std::vector<THistoryColumn> MonitoredHistoryColumns(const TEngine& engine) {
    std::vector<THistoryColumn> columns;
    for (const auto& vertex : engine.Net.Vertices)
        if (vertex->IsMonitoring)
            columns.push_back({vertex->Name, false, &vertex->History});
    for (const auto& transition : engine.Net.Transitions)
        if (transition->IsMonitoring)
            columns.push_back({transition->Name, true, &transition->History});
    return columns;
}

std::vector<std::string> HistoryHeaders(const std::vector<THistoryColumn>& columns) {
    std::set<std::string> vertexNames;
    for (const THistoryColumn& column : columns)
        if (!column.IsTransition)
            vertexNames.insert(column.Name);
    std::set<std::string> used = {"time"};
    std::vector<std::string> headers;
    for (const THistoryColumn& column : columns) {
        std::string header = Win1251ToUtf8(column.Name);
        if (column.IsTransition && vertexNames.count(column.Name) != 0)
            header += " (перехід)";
        std::string unique = header;
        for (int n = 2; used.count(unique) != 0; ++n)
            unique = header + " (" + std::to_string(n) + ")";
        used.insert(unique);
        headers.push_back(std::move(unique));
    }
    return headers;
}

std::string HistoryColumnsCsv(const std::vector<THistoryColumn>& columns) {
    std::string csv = "time";
    for (const std::string& header : HistoryHeaders(columns))
        csv += "," + CsvField(header);
    csv += "\n";
    // Each column's next sample and the text of the value in force; the rows walk all the
    // histories at once, taking the earliest next sample time each time.
    std::vector<std::size_t> next(columns.size(), 0);
    std::vector<std::string> shown(columns.size());
    constexpr double kNone = std::numeric_limits<double>::infinity();
    for (;;) {
        double time = kNone;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const auto& samples = columns[c].History->Samples;
            if (next[c] < samples.size())
                time = std::min(time, samples[next[c]].Time);
        }
        if (time == kNone)
            break;
        csv += CsvReal(time);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const auto& samples = columns[c].History->Samples;
            // Times within a history strictly increase: at most one sample of it is at `time`.
            if (next[c] < samples.size() && samples[next[c]].Time == time)
                shown[c] = CsvReal(samples[next[c]++].Value);
            csv += "," + shown[c];
        }
        csv += "\n";
    }
    return csv;
}

std::string HistoryCsv(const TEngine& engine) {
    return HistoryColumnsCsv(MonitoredHistoryColumns(engine));
}
