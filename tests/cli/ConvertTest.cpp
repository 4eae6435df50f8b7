// kvl-convert and the batch programs with PNML files, run as users and scripts run them.
#include "NetFile.h"
#include "ProgramRun.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

const std::filesystem::path kExamples = KVL_EXAMPLES;
const std::filesystem::path kSamples = KVL_SOURCE_DIR "/../shared/pnml-samples";

class ConvertTest : public ::testing::Test {
protected:
    TProgramRun Convert(const std::string& arguments) {
        return RunProgram(std::string(KVL_CONVERT) + " " + arguments, Folder);
    }
    TTempFolder Folder;
};

TEST_F(ConvertTest, KvlToPnmlAndBackGivesTheSameFile) {
    const auto example = kExamples / "production_line.kvl";
    const auto pnml = Folder / "line.pnml";
    const auto back = Folder / "back.kvl";
    const TProgramRun there = Convert(example.string() + " " + pnml.string());
    ASSERT_EQ(there.Status, 0) << there.Err;
    EXPECT_THAT(ReadBytes(pnml), HasSubstr("<pnml xmlns="));
    const TProgramRun back_ = Convert(pnml.string() + " " + back.string());
    ASSERT_EQ(back_.Status, 0) << back_.Err;
    EXPECT_EQ(back_.Err, "");
    TEngine engine;
    InitEngine(engine);
    LoadNet(engine, example);
    EXPECT_EQ(ReadBytes(back), NetText(engine.Net));
}

TEST_F(ConvertTest, FailuresExitWithTwoAndWriteNothing) {
    const auto out = Folder / "out.kvl";
    WriteBytes(out, "old");
    const auto bad = Folder / "bad.pnml";
    WriteBytes(bad, "<pnml>\n<net id=\"n\">\n<arc id=\"a\" source=\"x\" target=\"y\"/>\n"
                    "</net>\n</pnml>\n");
    const TProgramRun run = Convert(bad.string() + " " + out.string());
    EXPECT_EQ(run.Status, 2);
    EXPECT_THAT(run.Err, HasSubstr("bad.pnml"));
    EXPECT_THAT(run.Err, HasSubstr("рядок 3"));
    EXPECT_EQ(ReadBytes(out), "old");

    const auto fresh = Folder / "fresh.pnml";
    EXPECT_EQ(Convert((Folder / "missing.kvl").string() + " " + fresh.string()).Status, 2);
    EXPECT_EQ(
        Convert((kExamples / "queue.kvl").string() + " " + (Folder / "x.txt").string()).Status, 2);
    const TProgramRun usage = Convert((kExamples / "queue.kvl").string());
    EXPECT_EQ(usage.Status, 2);
    EXPECT_THAT(usage.Err, HasSubstr("kvl-convert IN OUT"));
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_FALSE(std::filesystem::exists(Folder / "x.txt"));
}

TEST_F(ConvertTest, SimulatorRunsAnImportedNetAndReportsWhatWasLeftOut) {
    if (!std::filesystem::exists(kSamples))
        GTEST_SKIP() << "no PNML samples beside the project";
    const std::string sample =
        (kSamples / "tapaal_inhibitor-relevance-test001_model.pnml").string();
    const TProgramRun run =
        RunProgram(std::string(KVL_SIM) + " " + sample + " --interval 50 --seed 3", Folder);
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Out, HasSubstr("\"model_time\": 50.0,"));
    EXPECT_THAT(run.Err, HasSubstr("інгібіторні дуги: 4"));

    const std::string coloured = (kSamples / "mcc_Peterson-COL-2_model.pnml").string();
    const TProgramRun refused = RunProgram(std::string(KVL_SIM) + " " + coloured, Folder);
    EXPECT_EQ(refused.Status, 2);
    EXPECT_THAT(refused.Err, HasSubstr("symmetricnet"));
}

} // namespace
