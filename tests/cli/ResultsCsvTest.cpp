// The results table of the monitored objects: the figures kvl-sim prints for the same run, in
// CSV that any reader takes back whatever the locale.
#include "ResultsCsv.h"
#include "CsvTable.h"
#include "LocaleGuard.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "ProgramRun.h"
#include "QueueNet.h"
#include "SimRun.h"
#include "SimulationStep.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <set>

namespace {

class ResultsCsvTest : public ::testing::Test {
protected:
    // The queue net with every object monitored but the arrivals' source.
    std::filesystem::path SaveQueueNet() {
        TEngine engine;
        InitEngine(engine);
        BuildQueueNet(engine.Net, 1, dtExponential, 0.8);
        for (auto& v : engine.Net.Vertices)
            v->IsMonitoring = v->Name != "Source";
        for (auto& t : engine.Net.Transitions)
            t->IsMonitoring = true;
        const auto path = Folder / "queue.kvl";
        SaveNet(engine, path);
        return path;
    }

    // The saved net run in this process as kvl-sim runs it.
    void RunHere(TEngine& engine, const std::filesystem::path& path, std::uint32_t seed,
                 double interval, double warmUp) {
        InitEngine(engine);
        engine.WarmUpInterval = warmUp;
        engine.Random.Seed = seed;
        ASSERT_TRUE(LoadNet(engine, path));
        RunWholeInterval(engine, interval, SimulationStep);
    }

    TTempFolder Folder;
};

double Number(const std::string& text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << text;
    return value;
}

TEST_F(ResultsCsvTest, HoldsExactlyTheFiguresKvlSimPrintsForTheSameRun) {
    const auto path = SaveQueueNet();
    const TProgramRun sim = RunProgram(std::string(KVL_SIM) + " " + path.string() +
                                           " --interval 300 --seed 42 --warmup 20",
                                       Folder);
    ASSERT_EQ(sim.Status, 0) << sim.Err;
    const auto json = nlohmann::json::parse(sim.Out);

    TEngine engine;
    RunHere(engine, path, 42, 300, 20);
    std::string csv;
    {
        // A locale with a decimal comma must not reach the numbers.
        TLocaleGuard comma(kCommaLocale);
        csv = ResultsCsv(engine, 20);
    }
    const auto rows = ParseCsv(csv);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], (TCsvRow{"kind", "object", "statistic", "value"}));
    std::size_t compared = 0, missing = 0;
    std::set<std::string> objects;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const TCsvRow& row = rows[r];
        ASSERT_EQ(row.size(), 4u) << r;
        const auto& list = json[row[0] == "vertex" ? "vertices" : "transitions"];
        const auto object = std::find_if(list.begin(), list.end(),
                                         [&](const auto& o) { return o["name"] == row[1]; });
        ASSERT_NE(object, list.end()) << row[1];
        EXPECT_TRUE((*object)["monitoring"].get<bool>()) << row[1];
        objects.insert(row[0] + ":" + row[1]);
        const auto& figure = (*object)[row[2]];
        if (figure.is_null()) {
            EXPECT_EQ(row[3], "") << row[1] << "." << row[2];
            ++missing;
        } else {
            EXPECT_EQ(Number(row[3]), figure.get<double>()) << row[1] << "." << row[2];
            ++compared;
        }
    }
    // Every figure of the four monitored objects, counters included; the source is left out.
    EXPECT_EQ(objects, (std::set<std::string>{"vertex:Queue", "vertex:Free", "transition:Arrive",
                                              "transition:Serve"}));
    EXPECT_EQ(rows.size(), 1 + 2 * 7 + 2 * 7u);
    EXPECT_GT(compared, 20u);
    EXPECT_LE(missing, 2u);
}

TEST_F(ResultsCsvTest, QuotesNamesWithCommasQuotesAndLineBreaks) {
    TEngine engine;
    InitEngine(engine);
    TVertex* vertex = CreateVertex(engine.Net, "a,\"b\"", 3, 0, 0, nullptr);
    TTransition* transition = CreateTransition(engine.Net, "line\nbreak", 0, 1.0, 0, nullptr);
    CreateVertex(engine.Net, "plain", 1, 0, 0, nullptr); // not monitored: no rows
    vertex->IsMonitoring = transition->IsMonitoring = true;
    const std::string csv = ResultsCsv(engine, 0);
    EXPECT_NE(csv.find("\nvertex,\"a,\"\"b\"\"\",marking,3\n"), std::string::npos) << csv;
    const auto rows = ParseCsv(csv);
    ASSERT_EQ(rows.size(), 1 + 7 + 7u);
    EXPECT_EQ(rows[1], (TCsvRow{"vertex", "a,\"b\"", "marking", "3"}));
    EXPECT_EQ(rows[8][1], "line\nbreak");
    EXPECT_EQ(rows[8][0], "transition");
}

TEST_F(ResultsCsvTest, NoMonitoredObjectsGiveTheHeaderAlone) {
    TEngine engine;
    InitEngine(engine);
    CreateVertex(engine.Net, "P", 1, 0, 0, nullptr);
    EXPECT_FALSE(HasMonitoredObjects(engine));
    EXPECT_EQ(ResultsCsv(engine, 0), "kind,object,statistic,value\n");
    engine.Net.Vertices[0]->IsMonitoring = true;
    EXPECT_TRUE(HasMonitoredObjects(engine));
}

} // namespace
