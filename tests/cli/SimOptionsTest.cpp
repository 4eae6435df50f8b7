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
