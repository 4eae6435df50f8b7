// Studies of replications run through the built kvl-sim, as users and cluster scripts run them.
#include "NetFile.h"
#include "NetObjects.h"
#include "ProgramRun.h"
#include "QueueNet.h"
#include "TempFolder.h"
#include "TextCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace {

using nlohmann::json;
using ::testing::HasSubstr;

class StudyTest : public ::testing::Test {
protected:
    TProgramRun Sim(const std::string& arguments) {
        return RunProgram(std::string(KVL_SIM) + " " + arguments, Folder);
    }

    // A single-server queue, arrivals of rate 1 and exponential service of mean `service`,
    // everything monitored unless `monitored` is false; `change` edits the net before it is
    // saved.
    std::string QueueNet(const std::string& name = "queue.kvl", double service = 0.8,
                         const std::function<void(TEngineNet&)>& change = {},
                         bool monitored = true) {
        TEngine engine;
        InitEngine(engine);
        TEngineNet& net = engine.Net;
        BuildQueueNet(net, 1, dtExponential, service);
        if (change)
            change(net);
        for (auto& v : net.Vertices)
            v->IsMonitoring = monitored;
        for (auto& t : net.Transitions)
            t->IsMonitoring = monitored;
        const auto path = Folder / name;
        SaveNet(engine, path);
        return path.string();
    }

    // The lines of the per-replication rows in a study's JSON, without indent or comma.
    static std::vector<std::string> RowLines(const std::string& output) {
        std::vector<std::string> rows;
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("        {\"replication\": ", 0) != 0)
                continue;
            line.erase(0, 8);
            if (line.back() == ',')
                line.pop_back();
            rows.push_back(line);
        }
        return rows;
    }

    TTempFolder Folder;
};

TEST_F(StudyTest, AnyNumberOfThreadsGivesTheSameBytes) {
    const std::string net = QueueNet();
    const std::string study = net + " --interval 2000 --seed 11 --replications 6 "
                                    "--sweep Serve.delay=0.5,0.8 --per-replication";
    const TProgramRun one = Sim(study + " --jobs 1");
    ASSERT_EQ(one.Status, 0) << one.Err;
    EXPECT_EQ(Sim(study + " --jobs 2").Out, one.Out);
    EXPECT_EQ(Sim(study + " --jobs 5").Out, one.Out);
    const TProgramRun csv = Sim(study + " --jobs 1 --format csv");
    EXPECT_EQ(Sim(study + " --jobs 2 --format csv").Out, csv.Out);

    const json result = json::parse(one.Out);
    EXPECT_EQ(result["points"].size(), 2u);
    EXPECT_EQ(result["points"][1]["value"], 0.8);
    EXPECT_EQ(result["points"][0]["replications"], 6);
    // A slower server makes a longer queue: the sweep really changed the net.
    EXPECT_LT(result["points"][0]["vertices"][1]["mean"]["mean"].get<double>(),
              result["points"][1]["vertices"][1]["mean"]["mean"].get<double>());
}

TEST_F(StudyTest, ReplicationZeroIsTheSingleRunAndEachReplicationRerunsAlone) {
    const std::string net = QueueNet();
    const TProgramRun single = Sim(net + " --interval 3000 --seed 5 --warmup 100");
    const std::string study = net + " --interval 3000 --seed 5 --warmup 100 --replications 5";
    const TProgramRun whole = Sim(study + " --per-replication");
    ASSERT_EQ(whole.Status, 0) << whole.Err;
    const std::vector<std::string> rows = RowLines(whole.Out);
    ASSERT_EQ(rows.size(), 5u);

    const json first = json::parse(rows[0]);
    const json alone = json::parse(single.Out);
    EXPECT_EQ(first["seed"], 5);
    EXPECT_EQ(first["vertices"], alone["vertices"]);
    EXPECT_EQ(first["transitions"], alone["transitions"]);
    EXPECT_EQ(first["model_time"], alone["model_time"]);

    std::set<std::uint32_t> seeds;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TProgramRun rerun = Sim(study + " --replication " + std::to_string(i));
        ASSERT_EQ(rerun.Status, 0) << rerun.Err;
        EXPECT_EQ(rerun.Out, rows[i] + "\n") << "replication " << i;
        seeds.insert(json::parse(rows[i])["seed"].get<std::uint32_t>());
    }
    EXPECT_EQ(seeds.size(), rows.size());
    // A replication's own seed, given to a single run, repeats it too.
    const json third = json::parse(rows[3]);
    const json fromSeed =
        json::parse(Sim(net + " --interval 3000 --warmup 100 --seed " + third["seed"].dump()).Out);
    EXPECT_EQ(third["vertices"], fromSeed["vertices"]);
}

TEST_F(StudyTest, ShardsRunByGnuParallelMergeIntoTheWholeStudy) {
    const std::string net = QueueNet();
    const std::string study = net + " --interval 1500 --seed 77 --replications 5 "
                                    "--sweep Serve.delay=0.4:0.8:0.4";
    const TProgramRun whole = Sim(study + " --per-replication");
    ASSERT_EQ(whole.Status, 0) << whole.Err;
    const std::string parts = (Folder / "part-").string();
    const TProgramRun shards =
        RunProgram("parallel --will-cite -j 2 " + std::string(KVL_SIM) + " " + study +
                       " --shard {}/3 '>' " + parts + "{}.json ::: 1 2 3",
                   Folder);
    ASSERT_EQ(shards.Status, 0) << shards.Err;
    const std::string partList = parts + "3.json " + parts + "1.json " + parts + "2.json";
    const TProgramRun merged = Sim("merge --per-replication " + partList);
    ASSERT_EQ(merged.Status, 0) << merged.Err;
    EXPECT_EQ(merged.Out, whole.Out);
    EXPECT_EQ(Sim("merge --format csv " + partList).Out, Sim(study + " --format csv").Out);
    EXPECT_EQ(Sim("merge " + partList).Out, Sim(study).Out);
}

TEST_F(StudyTest, MergeRefusesPartsThatDoNotMakeOneStudy) {
    const std::string net = QueueNet();
    const std::string other = QueueNet("other.kvl", 0.7);
    auto shard = [&](const std::string& arguments, const std::string& file) {
        const TProgramRun run = Sim(arguments + " --interval 200 --replications 4");
        WriteBytes(Folder / file, run.Out);
        return (Folder / file).string();
    };
    const std::string a1 = shard(net + " --seed 1 --shard 1/2", "a1.json");
    const std::string a2 = shard(net + " --seed 1 --shard 2/2", "a2.json");
    const std::string seed2 = shard(net + " --seed 2 --shard 2/2", "s2.json");
    const std::string net2 = shard(other + " --seed 1 --shard 2/2", "n2.json");
    const std::string conflict = shard(net + " --seed 1 --shard 2/2 --no-conflict", "c2.json");
    const std::string thirds = shard(net + " --seed 1 --shard 2/3", "t2.json");
    WriteBytes(Folder / "junk.json", "not json");
    // A part whose row was edited, or whose seed no longer fits 32 bits.
    json tampered = json::parse(ReadBytes(a2));
    tampered["rows"][0]["row"]["seed"] = 12345;
    WriteBytes(Folder / "tampered.json", tampered.dump());
    json wrapped = json::parse(ReadBytes(a2));
    wrapped["study"]["seed"] = 4294967297ull;
    WriteBytes(Folder / "wrapped.json", wrapped.dump());
    json fraction = json::parse(ReadBytes(a2));
    fraction["rows"][0]["row"]["vertices"][1]["marking"] = 1.5;
    WriteBytes(Folder / "fraction.json", fraction.dump());
    ASSERT_EQ(Sim("merge " + a1 + " " + a2).Status, 0);

    const std::vector<std::pair<std::string, std::string>> refused = {
        {a1 + " " + seed2, "різні зерна"},
        {a1 + " " + net2, "різні сітки"},
        {a1 + " " + conflict, "різні параметри запуску"},
        {a1 + " " + thirds, "різну кількість частин"},
        {a1, "Бракує частини 2/2"},
        {a1 + " " + a1, "двічі"},
        {a1 + " " + (Folder / "junk.json").string(), "не є частковим результатом"},
        {a1 + " " + (Folder / "missing.json").string(), "Не вдалося відкрити файл"},
        {a1 + " " + (Folder / "tampered.json").string(), "файл змінено"},
        {(Folder / "wrapped.json").string() + " " + a1, "не є частковим результатом"},
        {a1 + " " + (Folder / "fraction.json").string(), "не є частковим результатом"},
    };
    for (const auto& [parts, reason] : refused) {
        const TProgramRun run = Sim("merge " + parts);
        EXPECT_EQ(run.Status, 2) << parts;
        EXPECT_THAT(run.Err, HasSubstr(reason)) << parts;
        EXPECT_TRUE(run.Out.empty()) << parts;
    }
}

TEST_F(StudyTest, BadInputIsNamedAndNothingIsWritten) {
    const std::string net = QueueNet();
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"--replications 0", "кількість реплікацій"},
        {"--replications 4294967297", "кількість реплікацій"},
        {"--confidence 1", "рівень довіри"},
        {"--confidence 0", "рівень довіри"},
        {"--seed 1 --shard 3/2", "--shard"},
        {"--seed 1 --shard 0/2", "--shard"},
        {"--sweep Serve.delay=", "жодного значення"},
        {"--sweep Serve.delay=1,,2", "порожнє значення"},
        {"--sweep Serve.delay=1:0:0.5", "крок"},
        {"--sweep Queue.marking=0:1:0.5", "не є цілим"},
        {"--set Nobody.delay=1", "немає переходу з назвою «Nobody»"},
        {"--set Serve.marking=1", "немає вершини з назвою «Serve»"},
        {"--set Serve.speed=1", "невідоме поле «speed»"},
        {"--set Queue.marking=x", "не є цілим числом"},
        {"--set Serve.law=gauss", "не є законом розподілу"},
        {"--set 'Queue->Arrive.count=1'", "немає зв'язку «Queue->Arrive»"},
        {"--set 'Queue->Serve.formula=('", "Queue"},
        {"--replications 3 --replication 3", "від 0 до 2"},
        {"--precision 0.1", "--max-replications"},
        {"--precision 0.1 --max-replications 5 --target Queue.average",
         "немає статистики «average»"},
        {"--precision 0.1 --max-replications 5 --target Nobody.mean", "«Nobody»"},
        {"--format xml", "json або csv"},
        {"--confidence 0.9999999999999999", "рівень довіри"},
        {"--shard 1/2 --format csv", "під час об'єднання"},
        {"--shard 1/2 --per-replication", "під час об'єднання"},
        {"--precision 0.1 --max-replications 1", "щонайменше 2"},
        {"--sweep Queue.marking=0:3000000000:1000000000", "межі цілих"},
        {"--sweep Serve.delay=1:1.0000000000000002:1e-16", "крок замалий"},
        {"--sweep \'Queue->Serve.formula=1,(\'", "значення Queue->Serve.formula=("},
    };
    for (const auto& [arguments, reason] : refused) {
        const TProgramRun run = Sim(net + " --seed 1 --interval 10 " + arguments);
        EXPECT_EQ(run.Status, 2) << arguments;
        EXPECT_THAT(run.Err, HasSubstr(reason)) << arguments;
        EXPECT_TRUE(run.Out.empty()) << arguments;
    }
    // Shards and reruns seeded from the clock could never be merged or match.
    for (const std::string arguments : {" --shard 1/2", " --replications 3 --replication 1"}) {
        const TProgramRun unseeded = Sim(net + arguments);
        EXPECT_EQ(unseeded.Status, 2) << arguments;
        EXPECT_THAT(unseeded.Err, HasSubstr("потребує --seed")) << arguments;
        EXPECT_TRUE(unseeded.Out.empty()) << arguments;
    }
    // A statistic of an object that is not monitored never exists, so it can be no target.
    const std::string plain = QueueNet("plain.kvl", 0.8, {}, false);
    const TProgramRun target = Sim(plain + " --seed 1 --precision 0.1 --max-replications 20 "
                                           "--target Queue.mean");
    EXPECT_EQ(target.Status, 2);
    EXPECT_THAT(target.Err, HasSubstr("не під моніторингом"));
    EXPECT_TRUE(target.Out.empty());
}

TEST_F(StudyTest, ChangesActAsIfTheFileHeldThem) {
    const std::string net = QueueNet();
    const std::string edited = QueueNet("edited.kvl", 0.6, [](TEngineNet& n) {
        n.Vertices[1]->Marking = 4;
        TTransition& serve = *n.Transitions[1];
        serve.DelayType = dtUniform;
        serve.Deviation = 0.1;
        serve.Priority = 2;
        serve.Weight = 3;
        for (auto& connection : n.Connections)
            if (connection->ConnectionType == ctVT && connection->Vertex->Name == "Queue") {
                connection->UseFunction = true;
                connection->Formula = "1";
            }
    });
    const std::string run = " --interval 2000 --seed 3 --warmup 50";
    const TProgramRun fromFile = Sim(edited + run);
    ASSERT_EQ(fromFile.Status, 0) << fromFile.Err;
    const TProgramRun changed =
        Sim(net + run +
            " --set Queue.marking=4 --set Serve.delay=0.6 --set Serve.law=uniform"
            " --set Serve.deviation=0.1 --set Serve.priority=2 --set Serve.weight=3"
            " '--set=Queue->Serve.formula=1'");
    ASSERT_EQ(changed.Status, 0) << changed.Err;
    EXPECT_EQ(changed.Out, fromFile.Out);

    // The sweep's second value gives what --set gives, replication by replication.
    const TProgramRun swept =
        Sim(net + run + " --replications 2 --replication 1 --sweep Serve.delay=0.5,0.7");
    const TProgramRun set =
        Sim(net + run + " --replications 2 --replication 1 --set Serve.delay=0.7");
    ASSERT_EQ(swept.Status, 0) << swept.Err;
    std::istringstream lines(swept.Out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(second + "\n", set.Out);
    EXPECT_NE(first + "\n", set.Out);
}

TEST_F(StudyTest, SequentialStoppingEndsAtThePrecisionOrAtTheMostReplications) {
    const std::string net = QueueNet();
    const std::string study = net +
                              " --interval 2000 --seed 9 --precision 0.05 --max-replications 300 "
                              "--target Free.mean --target Serve.busy_pct";
    const TProgramRun one = Sim(study + " --jobs 1");
    ASSERT_EQ(one.Status, 0) << one.Err;
    EXPECT_EQ(Sim(study + " --jobs 2").Out, one.Out);
    const json point = json::parse(one.Out)["points"][0];
    EXPECT_EQ(point["stopped"], "precision");
    const int n = point["replications"].get<int>();
    EXPECT_GE(n, 5);
    EXPECT_LT(n, 300);
    const json free = point["vertices"][2]["mean"];
    EXPECT_LE(free["half_width"].get<double>(), 0.05 * free["mean"].get<double>());
    // One replication fewer would not have reached it: the study stopped at the first count
    // that did (checked on the figure that decided it, one of the two targets).
    const TProgramRun fewer =
        Sim(net + " --interval 2000 --seed 9 --replications " + std::to_string(n - 1) +
            " --precision 1e9 --max-replications 300");
    const json before = json::parse(fewer.Out)["points"][0];
    const json freeBefore = before["vertices"][2]["mean"];
    const json busyBefore = before["transitions"][1]["busy_pct"];
    EXPECT_TRUE(freeBefore["half_width"].get<double>() > 0.05 * freeBefore["mean"].get<double>() ||
                busyBefore["half_width"].get<double>() > 0.05 * busyBefore["mean"].get<double>());

    const TProgramRun capped = Sim(net + " --interval 100 --seed 9 --precision 1e-6 "
                                         "--max-replications 7");
    ASSERT_EQ(capped.Status, 0) << capped.Err;
    const json cappedPoint = json::parse(capped.Out)["points"][0];
    EXPECT_EQ(cappedPoint["stopped"], "max_replications");
    EXPECT_EQ(cappedPoint["replications"], 7);
    EXPECT_THAT(capped.Err, HasSubstr("не досягнуто; виконано реплікацій: 7"));
}

TEST_F(StudyTest, StreamsThatRunIntoTheNextAreReported) {
    const std::string net = QueueNet();
    // A million streams leave about 4200 draws to each, and 5000 time units take twice that.
    const TProgramRun run = Sim(net + " --interval 5000 --seed 1 --replications 2 "
                                      "--precision 1e9 --max-replications 1000000");
    ASSERT_EQ(run.Status, 0) << run.Err;
    const json result = json::parse(run.Out);
    const json point = result["points"][0];
    const std::uint64_t length = result["stream_length"].get<std::uint64_t>();
    EXPECT_LE(length, 4294u);
    ASSERT_EQ(point["stream_overruns"].size(), 2u);
    EXPECT_EQ(point["stream_overruns"][1]["replication"], 1);
    EXPECT_GT(point["stream_overruns"][1]["draws"].get<std::uint64_t>(), length);
    EXPECT_THAT(run.Err, HasSubstr("Реплікація 1 використала"));
    EXPECT_THAT(run.Err, HasSubstr("більше за свою частку " + std::to_string(length)));

    const TProgramRun within = Sim(net + " --interval 50 --seed 1 --replications 100");
    EXPECT_EQ(json::parse(within.Out)["points"][0]["stream_overruns"].size(), 0u);
    EXPECT_EQ(within.Err, "");
}

TEST_F(StudyTest, AResultThatCannotBeWrittenIsAFailure) {
    const std::string net = QueueNet();
    const auto err = Folder / "err.txt";
    for (const std::string arguments :
         {" --interval 100 --seed 1", " --interval 100 --seed 1 --replications 2",
          " --interval 100 --seed 1 --replications 2 --shard 1/2"}) {
        const int status = std::system(
            (std::string(KVL_SIM) + " " + net + arguments + " >/dev/full 2>" + err.string())
                .c_str());
        EXPECT_EQ(WEXITSTATUS(status), 1) << arguments;
        EXPECT_THAT(ReadBytes(err), HasSubstr("Не вдалося записати результати")) << arguments;
    }
}

TEST_F(StudyTest, CsvHasOneRowPerValueObjectAndStatistic) {
    const std::string net = QueueNet("names.kvl", 0.8, [](TEngineNet& n) {
        n.Vertices[1]->Name = Utf8ToWin1251("Черга, \"A\"");
    });
    const TProgramRun run = Sim(net + " --interval 300 --seed 2 --replications 3 "
                                      "--sweep Serve.law=normal,exponential --format csv");
    ASSERT_EQ(run.Status, 0) << run.Err;
    std::istringstream lines(run.Out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 1 + 2 * (3 * 7 + 2 * 7));
    EXPECT_EQ(rows[0], "value,replication,kind,object,statistic,n,mean,sd,half_width");
    EXPECT_THAT(run.Out, HasSubstr("\nnormal,,vertex,\"Черга, \"\"A\"\"\",mean,3,"));
    EXPECT_THAT(run.Out, HasSubstr("\nexponential,,transition,Serve,busy_pct,3,"));
}

} // namespace
