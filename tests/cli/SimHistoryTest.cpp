// kvl-sim --history: the histories of a single run written beside its printed results.
#include "HistoryCsv.h"
#include "Monitoring.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "ProgramRun.h"
#include "QueueNet.h"
#include "SimRun.h"
#include "SimulationStep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class SimHistoryTest : public ::testing::Test {
protected:
    TProgramRun Run(const std::string& arguments) {
        return RunProgram(std::string(KVL_SIM) + " " + arguments, Folder);
    }

    std::string QueueNet() {
        TEngine engine;
        InitEngine(engine);
        BuildQueueNet(engine.Net, 1, dtExponential, 0.8);
        for (auto& v : engine.Net.Vertices)
            v->IsMonitoring = v->Name != "Free";
        for (auto& t : engine.Net.Transitions)
            t->IsMonitoring = true;
        SaveNet(engine, Folder / "queue.kvl");
        return (Folder / "queue.kvl").string();
    }

    TTempFolder Folder;
};

TEST_F(SimHistoryTest, WritesTheRunsHistoriesIntoAFolderItCreates) {
    const std::string net = QueueNet();
    const std::string run = net + " --interval 200 --seed 5 --warmup 10";
    const auto folder = Folder / "out" / "history";
    const TProgramRun plain = Run(run);
    const TProgramRun with = Run(run + " --history " + folder.string());
    ASSERT_EQ(with.Status, 0) << with.Err;
    EXPECT_EQ(with.Out, plain.Out);
    EXPECT_TRUE(with.Err.empty()) << with.Err;

    // The same run in this process gives the same table.
    TEngine engine;
    InitEngine(engine);
    engine.WarmUpInterval = 10;
    engine.Random.Seed = 5;
    ASSERT_TRUE(LoadNet(engine, Folder / "queue.kvl"));
    RunWholeInterval(engine, 200, SimulationStep);
    const std::string written = ReadBytes(folder / "history.csv");
    EXPECT_THAT(written, StartsWith("time,Source,Queue,Arrive,Serve\n0,"));
    EXPECT_EQ(written, HistoryCsv(engine));

    // A second run replaces the file.
    ASSERT_EQ(Run(net + " --interval 50 --seed 5 --history " + folder.string()).Status, 0);
    EXPECT_LT(ReadBytes(folder / "history.csv").size(), written.size());
}

TEST_F(SimHistoryTest, AFolderThatCannotBeMadeFailsAfterPrintingTheResults) {
    const std::string net = QueueNet();
    WriteBytes(Folder / "file", "not a folder");
    const TProgramRun run =
        Run(net + " --interval 20 --seed 1 --history " + (Folder / "file" / "sub").string());
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Err, HasSubstr("Історії не записано"));
    EXPECT_THAT(run.Out, HasSubstr("\"model_time\": 20.0"));
    EXPECT_EQ(ReadBytes(Folder / "file"), "not a folder");
}

TEST_F(SimHistoryTest, StudiesRefuseIt) {
    const std::string net = QueueNet();
    const TProgramRun run =
        Run(net + " --replications 3 --seed 1 --history " + (Folder / "h").string());
    EXPECT_EQ(run.Status, 2);
    EXPECT_THAT(run.Err, HasSubstr("--history"));
    EXPECT_TRUE(run.Out.empty());
    EXPECT_FALSE(std::filesystem::exists(Folder / "h"));
}

} // namespace
