#include "SimOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(SimOptions, DefaultsAndEveryOption) {
    const auto plain = ParseSimOptions({"net.kvl"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->NetFile, "net.kvl");
    EXPECT_EQ(plain->Interval, 1000);
    EXPECT_FALSE(plain->Seed);
    EXPECT_EQ(plain->WarmUp, 0);
    EXPECT_FALSE(plain->ConflictCheck); // the settings file, or on
    EXPECT_TRUE(plain->SettingsFile.empty());
    EXPECT_FALSE(plain->Stats);

    const auto all =
        ParseSimOptions({"--interval", "10.5", "net.kvl", "--seed", "4294967295", "--warmup=2",
                         "--no-conflict", "--stats", "--settings", "my.ini"});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->Interval, 10.5);
    EXPECT_EQ(all->Seed, 4294967295u);
    EXPECT_EQ(all->WarmUp, 2);
    EXPECT_EQ(all->ConflictCheck, false);
    EXPECT_EQ(all->SettingsFile, "my.ini");
    EXPECT_TRUE(all->Stats);
    EXPECT_EQ(ParseSimOptions({"n.kvl", "--interval", "-5"})->Interval, -5);
    EXPECT_EQ(ParseSimOptions({"n.kvl", "--no-conflict", "--conflict"})->ConflictCheck,
              true); // the last wins
}

TEST(SimOptions, RefusesWhatDoesNotFitTheUsage) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"a.kvl", "b.kvl"},
        {"a.kvl", "--interval"},
        {"a.kvl", "--interval", "ten"},
        {"a.kvl", "--interval", "1,5"},
        {"a.kvl", "--seed", "-1"},
        {"a.kvl", "--seed", "4294967296"},
        {"a.kvl", "--seed", "1.5"},
        {"a.kvl", "--fast"},
        {"a.kvl", "--no-conflict=1"},
        {"a.kvl", "--conflict=0"},
        {"a.kvl", "--stats=yes"},
        {"a.kvl", "--settings"},
        {"a.kvl", "--settings="},
    };
    for (const auto& arguments : bad)
        EXPECT_FALSE(ParseSimOptions(arguments)) << ::testing::PrintToString(arguments);
}

} // namespace

namespace {

TEST(SimOptions, StudyOptionsAndMerge) {
    const auto plain = ParseSimOptions({"net.kvl", "--set", "Q.marking=2"});
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->Study.Requested); // a single run with a change
    EXPECT_EQ(plain->Sets, std::vector<std::string>{"Q.marking=2"});

    const auto study = ParseSimOptions({"net.kvl", "--replications=20", "--confidence", "0.9",
                                        "--jobs", "3", "--per-replication", "--sweep",
                                        "T.delay=1,2", "--format", "csv", "--seed", "4"});
    ASSERT_TRUE(study);
    EXPECT_TRUE(study->Study.Requested);
    EXPECT_EQ(study->Study.Replications, 20u);
    EXPECT_EQ(study->Study.Confidence, 0.9);
    EXPECT_EQ(study->Study.Jobs, 3u);
    EXPECT_TRUE(study->Study.PerReplication);
    EXPECT_EQ(study->Study.Sweep, "T.delay=1,2");
    EXPECT_EQ(study->Study.Format, ofCsv);
    const auto shard = ParseSimOptions({"net.kvl", "--seed", "4", "--shard", "2/5"});
    ASSERT_TRUE(shard);
    EXPECT_EQ(shard->Study.Shard->Number, 2u);
    EXPECT_EQ(shard->Study.Shard->Count, 5u);

    const auto precise = ParseSimOptions(
        {"net.kvl", "--precision", "0.05", "--max-replications", "50", "--target", "Q.mean"});
    ASSERT_TRUE(precise);
    EXPECT_EQ(*precise->Study.Precision, 0.05);
    EXPECT_EQ(*precise->Study.MaxReplications, 50u);
    EXPECT_EQ(precise->Study.Targets, std::vector<std::string>{"Q.mean"});

    std::string error;
    EXPECT_FALSE(ParseSimOptions({"net.kvl", "--replications"}, error));
    EXPECT_TRUE(error.empty()); // the usage tells
    EXPECT_FALSE(
        ParseSimOptions({"net.kvl", "--sweep", "a.delay=1", "--sweep", "b.delay=2"}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ParseSimOptions(
        {"net.kvl", "--replications", "5", "--precision", "0.1", "--max-replications", "4"},
        error));
    EXPECT_FALSE(error.empty());

    const auto merge = ParseMergeOptions({"--format=csv", "a.json", "--per-replication", "b"});
    ASSERT_TRUE(merge);
    EXPECT_EQ(merge->Format, ofCsv);
    EXPECT_TRUE(merge->PerReplication);
    EXPECT_EQ(merge->Parts, (std::vector<std::string>{"a.json", "b"}));
    EXPECT_FALSE(ParseMergeOptions({}));
    EXPECT_FALSE(ParseMergeOptions({"--format", "xml", "a.json"}));
    EXPECT_FALSE(ParseMergeOptions({"--jobs", "2", "a.json"}));
}

} // namespace
