// The histories table: one row per sample time of any monitored object, values carried
// forward, headers that tell every column apart, and the samples exactly as the histories hold
// them, compacted or not.
#include "HistoryCsv.h"
#include "CsvTable.h"
#include "LocaleGuard.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "QueueNet.h"
#include "RunControl.h"
#include "SimRun.h"
#include "SimulationStep.h"
#include "TextCodec.h"

#include <gtest/gtest.h>

#include <charconv>
#include <set>

namespace {

void AddSample(HistoryList& history, double time, double value) {
    history.Samples.push_back({time, value, 0, 0});
}

TEST(HistoryCsvTest, CarriesValuesForwardAndLeavesEmptyBeforeTheFirstSample) {
    TEngine engine;
    InitEngine(engine);
    TVertex* a = CreateVertex(engine.Net, "A", 0, 0, 0, nullptr);
    TVertex* b = CreateVertex(engine.Net, Utf8ToWin1251("Черга"), 0, 0, 0, nullptr);
    CreateVertex(engine.Net, "unmonitored", 0, 0, 0, nullptr);
    TTransition* t = CreateTransition(engine.Net, "A", 0, 1.0, 0, nullptr);
    a->IsMonitoring = b->IsMonitoring = t->IsMonitoring = true;
    a->History.Samples.clear();
    b->History.Samples.clear();
    t->History.Samples.clear();
    AddSample(a->History, 0, 1);
    AddSample(a->History, 2, 3);
    AddSample(b->History, 1, 5);
    AddSample(b->History, 2.5, 0.25);
    AddSample(t->History, 3, 2);
    std::string csv;
    {
        TLocaleGuard comma(kCommaLocale);
        csv = HistoryCsv(engine);
    }
    EXPECT_EQ(csv, "time,A,Черга,A (перехід)\n"
                   "0,1,,\n"
                   "1,1,5,\n"
                   "2,3,5,\n"
                   "2.5,3,0.25,\n"
                   "3,3,0.25,2\n");
}

TEST(HistoryCsvTest, HeadersAreUniqueAndQuotedWhereNeeded) {
    const HistoryList history;
    const std::vector<THistoryColumn> columns = {
        {"B", false, &history},      {"B", false, &history}, {"B", true, &history},
        {"C", true, &history},       {"C", true, &history},  {"time", false, &history},
        {"x,\"y\"", false, &history}};
    EXPECT_EQ(HistoryHeaders(columns), (std::vector<std::string>{"B", "B (2)", "B (перехід)", "C",
                                                                 "C (2)", "time (2)", "x,\"y\""}));
    const auto rows = ParseCsv(HistoryColumnsCsv(columns));
    ASSERT_EQ(rows.size(), 1u); // no samples: the header alone
    EXPECT_EQ(rows[0].back(), "x,\"y\"");
}

double Number(const std::string& text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << text;
    return value;
}

// A long run whose histories are compacted many times: every sample of every history is in the
// table at its own time with its own value, and nothing else is.
TEST(HistoryCsvTest, LongCompactedRunKeepsEverySampleInPlace) {
    TEngine engine;
    InitEngine(engine);
    BuildQueueNet(engine.Net, 2, dtExponential, 1.5);
    for (auto& v : engine.Net.Vertices)
        StartMonitoring(*v, 0);
    for (auto& t : engine.Net.Transitions)
        StartMonitoring(*t, 0);
    engine.VertexHistoryNormal = 7;
    engine.TransitionHistoryNormal = 3;
    engine.Random.Seed = 11;
    ASSERT_EQ(RunWholeInterval(engine, 20000, SimulationStep), rsNone);
    const auto columns = MonitoredHistoryColumns(engine);
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_GT(columns[1].History->MeanCount, 0) << "the queue's history was never compacted";

    const auto rows = ParseCsv(HistoryCsv(engine));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], (TCsvRow{"time", "Source", "Queue", "Free", "Arrive", "Serve"}));
    std::set<double> times;
    for (const THistoryColumn& column : columns)
        for (const HistorySample& sample : column.History->Samples)
            times.insert(sample.Time);
    ASSERT_EQ(rows.size(), 1 + times.size());
    std::vector<std::size_t> next(columns.size(), 0);
    double previous = -1;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), 1 + columns.size()) << r;
        const double time = Number(rows[r][0]);
        ASSERT_GT(time, previous) << r;
        previous = time;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const auto& samples = columns[c].History->Samples;
            if (next[c] < samples.size() && samples[next[c]].Time == time)
                ++next[c];
            if (next[c] == 0)
                EXPECT_EQ(rows[r][c + 1], "") << r << " " << c;
            else
                ASSERT_EQ(Number(rows[r][c + 1]), samples[next[c] - 1].Value) << r << " " << c;
        }
    }
    for (std::size_t c = 0; c < columns.size(); ++c)
        EXPECT_EQ(next[c], columns[c].History->Samples.size()) << c;
}

} // namespace
