// Runs the built kvl-sim program as users and scripts do.
#include "EndlessCycleNet.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "ProgramRun.h"
#include "QueueNet.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

using TRun = TProgramRun;

class SimTest : public ::testing::Test {
protected:
    TRun Run(const std::string& arguments, const std::string& program = KVL_SIM) {
        return RunProgram(program + " " + arguments, Folder);
    }

    // A single-server queue with exponential arrivals and service, everything monitored.
    std::string QueueNet() {
        TEngine engine;
        InitEngine(engine);
        TEngineNet& net = engine.Net;
        BuildQueueNet(net, 1, dtExponential, 0.8);
        for (auto& v : net.Vertices)
            v->IsMonitoring = true;
        for (auto& t : net.Transitions)
            t->IsMonitoring = true;
        const auto path = Folder / "queue.kvl";
        SaveNet(engine, path);
        return path.string();
    }

    TTempFolder Folder;
};

TEST_F(SimTest, SameSeedRepeatsAndAnotherSeedDiffers) {
    const std::string net = QueueNet();
    const TRun first = Run(net + " --interval 500 --seed 42 --warmup 50");
    const TRun again = Run(net + " --interval 500 --seed 42 --warmup 50");
    const TRun other = Run(net + " --interval 500 --seed 43 --warmup 50");
    ASSERT_EQ(first.Status, 0) << first.Err;
    EXPECT_EQ(first.Out, again.Out);
    EXPECT_NE(first.Out, other.Out);
    EXPECT_THAT(first.Out, HasSubstr("\"model_time\": 500.0,"));
    EXPECT_THAT(first.Out, HasSubstr("\"stopped\": \"end\""));
    EXPECT_THAT(first.Out, HasSubstr("{\"name\": \"Queue\", \"marking\": "));
    EXPECT_TRUE(first.Err.empty());
}

TEST_F(SimTest, EmptyNetRunsToTheEndOfTheInterval) {
    const auto path = Folder / "empty.kvl";
    WriteBytes(path, "0\r\n0\r\n0\r\n");
    const TRun run = Run(path.string() + " --interval -3 --seed 1");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, "{\n  \"model_time\": 0.0,\n  \"stopped\": \"end\",\n  \"vertices\": [],\n"
                       "  \"transitions\": []\n}\n");
}

TEST_F(SimTest, AFileCutShortRunsAndSaysSoOnStderr) {
    const std::string net = QueueNet();
    std::string text = ReadBytes(net);
    text.resize(text.find("6\r\n[Connection 0]"));
    WriteBytes(net, text);
    const TRun run = Run(net + " --interval 10");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Err, HasSubstr("закінчився раніше"));
    EXPECT_THAT(run.Err, HasSubstr("зв'язків"));
}

TEST_F(SimTest, UnmonitoredObjectsHaveNullStatisticsAndCyrillicNamesAreUtf8) {
    const auto path = Folder / "names.kvl";
    WriteBytes(path,
               "1\r\n[Vertex 0]\r\n\xD7\xE5\xF0\xE3\xE0\r\n3\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n"
               "100\r\n0\r\n0\r\n");
    const TRun run = Run(path.string() + " --interval 5 --seed 1");
    EXPECT_EQ(run.Status, 0);
    EXPECT_THAT(run.Out, HasSubstr("{\"name\": \"Черга\", \"marking\": 3, \"monitoring\": false, "
                                   "\"change_count\": 0, \"received_total\": 0, \"min\": null, "
                                   "\"max\": null, \"mean\": null, \"mean_wait\": null}"));
}

TEST_F(SimTest, OverflowPrintsTheResultsAndTheMessageWithStatusThree) {
    const auto path = Folder / "runaway.kvl";
    WriteBytes(path,
               "1\r\n[Vertex 0]\r\nFlag\r\n1\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n100\r\n"
               "1\r\n[Transition 0]\r\nRunaway\r\n0\r\ndtDefault\r\n1\r\n0\r\n1\r\n0\r\n0\r\n"
               "12\r\n200\r\n90\r\n94\r\n"
               "1\r\n[Connection 0]\r\nctVT\r\n1\r\n-1\r\n0\r\n0\r\n0\r\n10\r\n10\r\n50\r\n80\r\n");
    const TRun run = Run(path.string() + " --interval 10 --seed 1");
    EXPECT_EQ(run.Status, 3);
    EXPECT_THAT(run.Out, HasSubstr("\"stopped\": \"overflow\""));
    EXPECT_THAT(run.Out, HasSubstr("\"buffer\": 200001"));
    EXPECT_THAT(run.Err, HasSubstr("буфер запуску переходу Runaway завеликий"));
}

TEST_F(SimTest, DelayZeroCyclePrintsTheResultsAndTheMessageWithStatusFour) {
    TEngine engine;
    InitEngine(engine);
    TEngineNet& net = engine.Net;
    BuildEndlessCycle(net);
    const auto path = Folder / "cycle.kvl";
    SaveNet(engine, path);
    // A kvl-sim that never stops is killed after a minute.
    const TRun run =
        Run("-k 5 60 " + std::string(KVL_SIM) + " " + path.string() + " --interval 10 --seed 1",
            "timeout");
    EXPECT_EQ(run.Status, 4);
    EXPECT_THAT(run.Out, HasSubstr("\"model_time\": 0.0,"));
    EXPECT_THAT(run.Out, HasSubstr("\"stopped\": \"endless_instant\""));
    EXPECT_THAT(run.Out, HasSubstr("{\"name\": \"Idle\", \"marking\": "));
    EXPECT_THAT(run.Err, HasSubstr("понад 10000000 подій"));
    EXPECT_THAT(run.Err, HasSubstr("у цей момент: Start, Finish."));
}

TEST_F(SimTest, IdleNetRunsAHugeIntervalAtOnce) {
    const auto path = Folder / "idle.kvl";
    WriteBytes(path,
               "1\r\n[Vertex 0]\r\nStore\r\n3\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n100\r\n"
               "1\r\n[Transition 0]\r\nNever\r\n0\r\ndtDefault\r\n1\r\n0\r\n1\r\n0\r\n0\r\n"
               "12\r\n200\r\n90\r\n94\r\n"
               "1\r\n[Connection 0]\r\nctVT\r\n5\r\n0\r\n0\r\n0\r\n0\r\n10\r\n10\r\n50\r\n80\r\n");
    for (const char* interval : {"1e14", "1e300"}) {
        const TRun run = Run("-k 5 60 " + std::string(KVL_SIM) + " " + path.string() +
                                 " --interval " + interval + " --seed 1 --stats",
                             "timeout");
        EXPECT_EQ(run.Status, 0) << interval;
        EXPECT_THAT(run.Out, HasSubstr("\"stopped\": \"end\""));
        // Span by span, 1e300 would never end and the run would be killed.
        EXPECT_THAT(run.Err, HasSubstr("events 0 "));
    }
}

// Two transitions compete for one token: the one of higher priority wins when conflicts are
// settled, the one earlier in the file when they are not.
std::string ConflictNet(const std::filesystem::path& folder) {
    const auto path = folder / "conflict.kvl";
    std::string text =
        "1\r\n[Vertex 0]\r\nPool\r\n1\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n100\r\n2\r\n";
    for (const char* transition : {"[Transition 0]\r\nLow\r\n0\r\ndtDefault\r\n1\r\n0\r\n",
                                   "[Transition 1]\r\nHigh\r\n0\r\ndtDefault\r\n1\r\n5\r\n"})
        text += std::string(transition) + "1\r\n0\r\n0\r\n12\r\n200\r\n90\r\n94\r\n";
    text += "4\r\n";
    for (const char* connection :
         {"ctVT\r\n1\r\n0\r\n0\r\n0\r\n0\r\n", "ctTV\r\n1\r\n0\r\n0\r\n0\r\n0\r\n",
          "ctVT\r\n1\r\n0\r\n0\r\n0\r\n1\r\n", "ctTV\r\n1\r\n0\r\n0\r\n0\r\n1\r\n"})
        text += std::string("[Connection]\r\n") + connection + "10\r\n10\r\n50\r\n80\r\n";
    WriteBytes(path, text);
    return path.string();
}

TEST_F(SimTest, SettingsFileGivesTheEditorsOptionsAndExplicitFlagsWin) {
    const std::string net = ConflictNet(Folder.Path());
    const auto settled = Folder / "settled.ini";
    const auto unsettled = Folder / "unsettled.ini";
    WriteBytes(settled, "[Options]\r\nConflictCheck=1\r\n");
    WriteBytes(unsettled, "; the user's own comment\r\n[Options]\r\nConflictCheck=0\r\n");
    const TRun on = Run(net + " --interval 10 --seed 1");
    const TRun off = Run(net + " --interval 10 --seed 1 --no-conflict");
    ASSERT_EQ(on.Status, 0) << on.Err;
    EXPECT_THAT(on.Out, HasSubstr("\"name\": \"Low\", \"buffer\": 0"));
    EXPECT_NE(on.Out, off.Out);
    EXPECT_EQ(Run(net + " --interval 10 --seed 1 --settings " + unsettled.string()).Out, off.Out);
    EXPECT_EQ(Run(net + " --interval 10 --seed 1 --settings=" + settled.string()).Out, on.Out);
    EXPECT_EQ(Run(net + " --interval 10 --seed 1 --conflict --settings " + unsettled.string()).Out,
              on.Out);
    EXPECT_EQ(
        Run(net + " --interval 10 --seed 1 --settings " + settled.string() + " --no-conflict").Out,
        off.Out);

    const TRun missing = Run(net + " --settings " + (Folder / "absent.ini").string());
    EXPECT_EQ(missing.Status, 2);
    EXPECT_THAT(missing.Err, HasSubstr("absent.ini"));
    EXPECT_TRUE(missing.Out.empty());
}

TEST_F(SimTest, LongRunReportsTheSameFiguresWithCompactionOnOffOrShort) {
    const std::string net = QueueNet();
    const auto whole = Folder / "whole.ini";
    const auto tight = Folder / "tight.ini";
    WriteBytes(whole, "[Options]\r\nDoVertexHistorySimple=0\r\nDoTransitionHistorySimple=0\r\n");
    WriteBytes(tight, "[Options]\r\nVertexHistoryNormal=7\r\nTransitionHistoryNormal=3\r\n");
    for (const char* warmUp : {"0", "1000", "54321.5"}) {
        const std::string run = net + " --interval 100000 --seed 9 --warmup " + warmUp;
        const TRun compacted = Run(run);
        ASSERT_EQ(compacted.Status, 0) << compacted.Err;
        EXPECT_EQ(Run(run + " --settings " + whole.string()).Out, compacted.Out) << warmUp;
        EXPECT_EQ(Run(run + " --settings " + tight.string()).Out, compacted.Out) << warmUp;
        // The arrivals never pause: their transition is busy all the time.
        EXPECT_THAT(compacted.Out, HasSubstr("\"busy_pct\": 100.0}"));
    }
}

TEST_F(SimTest, RefusalsExitWithStatusTwo) {
    const TRun usage = Run("--interval");
    EXPECT_EQ(usage.Status, 2);
    EXPECT_THAT(usage.Err, HasSubstr("kvl-sim FILE.kvl"));
    EXPECT_TRUE(usage.Out.empty());

    const TRun missing = Run((Folder / "absent.kvl").string());
    EXPECT_EQ(missing.Status, 2);
    EXPECT_THAT(missing.Err, HasSubstr("absent.kvl"));

    const auto bad = Folder / "bad.kvl";
    WriteBytes(bad, "1\r\n[Vertex 0]\r\nP1\r\n3.5\r\n");
    const TRun broken = Run(bad.string());
    EXPECT_EQ(broken.Status, 2);
    EXPECT_THAT(broken.Err, HasSubstr("рядок 4"));

    const auto formula = Folder / "formula.kvl";
    WriteBytes(formula,
               "1\r\n[Vertex 0]\r\nP1\r\n1\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n100\r\n"
               "1\r\n[Transition 0]\r\nT1\r\n0\r\ndtDefault\r\n1\r\n0\r\n1\r\n0\r\n0\r\n"
               "12\r\n200\r\n90\r\n94\r\n"
               "1\r\n[Connection 0]\r\nctTV\r\n1\r\n0\r\n-1\r\nM(P9)\r\n0\r\n0\r\n10\r\n10\r\n"
               "50\r\n80\r\n");
    const TRun refused = Run(formula.string());
    EXPECT_EQ(refused.Status, 2);
    EXPECT_THAT(refused.Err, HasSubstr("Формула зв'язку T1 -> P1 задана неправильно"));
    EXPECT_TRUE(refused.Out.empty());
}

} // namespace
