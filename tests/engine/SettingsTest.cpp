#include "Settings.h"
#include "EngineError.h"
#include "LocaleGuard.h"
#include "NetObjects.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

using ::testing::HasSubstr;

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { InitEngine(Engine); }
    std::filesystem::path File(const std::string& text) {
        WriteBytes(Path, text);
        return Path;
    }

    TTempFolder Folder;
    std::filesystem::path Path = Folder / "KVLConfig.ini";
    TEngine Engine;
};

TEST_F(SettingsTest, FirstStartWritesFiveSectionsAndFortyKeysInOrder) {
    LoadSettings(Engine, Folder / "absent.ini");
    EXPECT_EQ(Engine.Graph.Options.VertexRadius, 190);
    EXPECT_EQ(Engine.DrawPeriod, 14);
    SaveSettings(Engine, Path);
    const auto lines = LinesOf(ReadBytes(Path));
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(lines[0], "[Options]");
    EXPECT_EQ(lines[1], "TimeLineEnabled=1");
    EXPECT_EQ(lines[5], "BaseTransitionDelay=0");
    EXPECT_EQ(lines[8], "VertexHistoryNormal=2000");
    EXPECT_EQ(lines[10], "[Graph]");
    EXPECT_EQ(lines[11], "ScreenUpdateInterval=14");
    EXPECT_EQ(lines[12], "ScreenColor=11842740");
    EXPECT_EQ(lines[15], "[Vertex]");
    EXPECT_EQ(lines[17], "VertexAmbientColor1=16777215");
    EXPECT_EQ(lines[26], "[Transition]");
    EXPECT_EQ(lines[34], "[Connection]");
    EXPECT_EQ(lines[38], "ConnectionFlashColor=5263615");
    EXPECT_EQ(lines[44], "ConnectionFlashOffDelay=300");
}

TEST_F(SettingsTest, ReadsDecimalAndHexadecimalAndFallsBackSilently) {
    LoadSettings(Engine, File("[Options]\r\nGridEnabled=0\r\nBaseVertexMark=$FF\r\n"
                              "VertexHistoryNormal=0xFF\r\nTransitionHistoryNormal=many\r\n"
                              "ConflictCheck=7\r\n[graph]\r\nscreencolor = -1\r\n"
                              "ScreenUpdateInterval=\r\n[Vertex]\r\nVertexRadius=99999999999\r\n"));
    EXPECT_FALSE(Engine.GridEnabled);
    EXPECT_EQ(Engine.BaseVertexMark, 255);
    EXPECT_EQ(Engine.VertexHistoryNormal, 255);
    EXPECT_EQ(Engine.TransitionHistoryNormal, 2000);
    EXPECT_TRUE(Engine.ConflictCheck);
    EXPECT_EQ(Engine.Graph.Options.ScreenColor, 0xFFFFFFFFu);
    EXPECT_EQ(Engine.Graph.Options.ScreenUpdateInterval, 14);
    EXPECT_EQ(Engine.Graph.Options.VertexRadius, 190);
}

TEST_F(SettingsTest, ZeroRefreshPeriodIsRaisedToOne) {
    LoadSettings(Engine, File("[Graph]\r\nScreenUpdateInterval=0\r\n"));
    EXPECT_EQ(Engine.Graph.Options.ScreenUpdateInterval, 1);
    EXPECT_EQ(Engine.DrawPeriod, 1);
}

TEST_F(SettingsTest, SavingKeepsWhatElseTheFileHolds) {
    File("; my notes\r\n[Options]\r\nGridEnabled=0\r\nMyKey=kept\r\n[Other]\r\nA=1\r\n");
    LoadSettings(Engine, Path);
    Engine.BaseVertexMark = 4;
    SaveSettings(Engine, Path);
    const std::string text = ReadBytes(Path);
    EXPECT_THAT(text, HasSubstr("; my notes\r\n[Options]\r\nGridEnabled=0\r\nMyKey=kept\r\n"
                                "TimeLineEnabled=1\r\n"));
    EXPECT_THAT(text, HasSubstr("BaseVertexMark=4\r\n"));
    EXPECT_THAT(text, HasSubstr("[Other]\r\nA=1\r\n"));
}

TEST_F(SettingsTest, DelayUsesTheLocaleSeparatorInTheFile) {
    {
        TLocaleGuard point("C");
        LoadSettings(Engine, File("[Options]\r\nBaseTransitionDelay=1,5\r\n"));
        EXPECT_EQ(Engine.BaseTransitionDelay, 0);
        LoadSettings(Engine, File("[Options]\r\nBaseTransitionDelay=2.25\r\n"));
        EXPECT_EQ(Engine.BaseTransitionDelay, 2.25);
    }
    TLocaleGuard comma(kCommaLocale);
    if (!comma.Active())
        GTEST_SKIP() << kCommaLocale << " is not installed";
    LoadSettings(Engine, File("[Options]\r\nBaseTransitionDelay=2.25\r\n"));
    EXPECT_EQ(Engine.BaseTransitionDelay, 0);
    LoadSettings(Engine, File("[Options]\r\nBaseTransitionDelay=1,5\r\n"));
    EXPECT_EQ(Engine.BaseTransitionDelay, 1.5);
    SaveSettings(Engine, Path);
    EXPECT_THAT(ReadBytes(Path), HasSubstr("BaseTransitionDelay=1,5\r\n"));
}

// A folder in the place of the settings file opens but cannot be read: the reader must neither
// throw nor let the save replace what it could not read.
TEST_F(SettingsTest, UnreadableFileGivesTheDefaultsAndTellsTheUser) {
    std::filesystem::create_directories(Path);
    std::vector<std::string> messages;
    Engine.ShowMessage = [&](const std::string& message) { messages.push_back(message); };
    Engine.Graph.Options.VertexRadius = 7;
    EXPECT_FALSE(LoadSettings(Engine, Path));
    EXPECT_EQ(Engine.Graph.Options.VertexRadius, 190);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_THAT(messages[0], HasSubstr(Path.string()));
    EXPECT_THAT(messages[0], HasSubstr("папка"));

    try {
        SaveSettings(Engine, Path);
        ADD_FAILURE() << "saved over a folder";
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr(Path.string()));
    }
    EXPECT_TRUE(std::filesystem::is_directory(Path));

    // A missing file is no error and says nothing.
    EXPECT_TRUE(LoadSettings(Engine, Folder / "absent.ini"));
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(SettingsTest, ResetKeepsTheTwoBaseValues) {
    Engine.BaseVertexMark = 3;
    Engine.BaseTransitionDelay = 1.5;
    Engine.GridEnabled = false;
    Engine.VertexHistoryNormal = 7;
    Engine.Graph.Options.VertexRadius = 500;
    Engine.Graph.Options.ScreenUpdateInterval = 50;
    ResetSettings(Engine);
    EXPECT_EQ(Engine.BaseVertexMark, 3);
    EXPECT_EQ(Engine.BaseTransitionDelay, 1.5);
    EXPECT_TRUE(Engine.GridEnabled);
    EXPECT_EQ(Engine.VertexHistoryNormal, 2000);
    EXPECT_EQ(Engine.Graph.Options.VertexRadius, 190);
    EXPECT_EQ(Engine.DrawPeriod, 14);
}

TEST_F(SettingsTest, ApplyColorsGivesChosenObjectsTheChoiceColours) {
    TVertex* chosen = CreateVertex(Engine.Net, "", 0, 0, 0, nullptr);
    TVertex* other = CreateVertex(Engine.Net, "", 0, 0, 0, nullptr);
    TTransition* t = CreateTransition(Engine.Net, "", 0, 0, 0, nullptr);
    TConnection* c = CreateConnection(Engine.Net, ctVT, 1, other, t, nullptr);
    Engine.Choiced.Items = {chosen, c};
    Engine.Picked.Items = {t};
    Engine.Graph.Options.VertexAmbientColor1 = MakeColor(1, 2, 3);
    ApplyColors(Engine);
    const TEngineGraphOptions& o = Engine.Graph.Options;
    EXPECT_EQ(chosen->LineColor, o.VertexChoiceColor);
    EXPECT_EQ(chosen->FillColorFrom, o.VertexChoiceColor1);
    EXPECT_EQ(other->FillColor, MakeColor(1, 2, 3));
    EXPECT_EQ(other->LineColorFrom, o.VertexAmbientColor);
    EXPECT_EQ(t->Color, o.TransitionAmbientColor); // picked is not consulted
    EXPECT_EQ(c->Color, o.ConnectionChoiceColor);
    EXPECT_EQ(c->FadeFromColor, o.ConnectionChoiceColor);
}

TEST_F(SettingsTest, LoadBaseSettingsRecoloursExistingObjects) {
    TVertex* v = CreateVertex(Engine.Net, "", 0, 0, 0, &Engine.Graph.Options);
    Engine.Graph.Options.VertexAmbientColor1 = MakeColor(9, 9, 9);
    ApplyColors(Engine);
    ASSERT_EQ(v->FillColor, MakeColor(9, 9, 9));
    LoadBaseSettings(Engine);
    EXPECT_EQ(v->FillColor, Engine.Defaults.VertexAmbientColor1);
}

TEST(SettingsFilePath, UsesTheConfigurationFolderWhenTheProgramFolderIsNotWritable) {
    TTempFolder folder;
    EXPECT_EQ(SettingsFilePath(folder.Path()), folder.Path() / "KVLConfig.ini");
    const std::string previous =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    EXPECT_EQ(SettingsFilePath("/no/such/folder"), folder.Path() / "kvl-editor" / "KVLConfig.ini");
    if (previous.empty())
        unsetenv("XDG_CONFIG_HOME");
    else
        setenv("XDG_CONFIG_HOME", previous.c_str(), 1);

    TEngine engine;
    InitEngine(engine);
    SaveSettings(engine, folder.Path() / "kvl-editor" / "KVLConfig.ini"); // creates the folder
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "kvl-editor" / "KVLConfig.ini"));
}

TEST(SettingsFilePath, AnInstalledProgramKeepsItsSettingsInTheConfigurationFolder) {
    TTempFolder prefix;
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share" / "kvl-editor");
    const std::string previous =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", (prefix / "config").c_str(), 1);
    // The bin folder is writable here (as it is for root), yet nothing goes into it.
    EXPECT_EQ(SettingsFilePath(prefix / "bin"), prefix / "config" / "kvl-editor" / "KVLConfig.ini");
    if (previous.empty())
        unsetenv("XDG_CONFIG_HOME");
    else
        setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
}

} // namespace
