#include "RecentFiles.h"

#include "Engine.h"
#include "EngineError.h"
#include "Settings.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

TEST(RecentFiles, NewestComesFirstAndAFileOpenedAgainMovesToTheFront) {
    TRecentFiles files;
    RememberRecentFile(files, "/nets/a.kvl");
    RememberRecentFile(files, "/nets/b.kvl");
    RememberRecentFile(files, "/nets/c.kvl");
    RememberRecentFile(files, "/nets/./a.kvl"); // the same file, written another way
    EXPECT_THAT(files, ElementsAre("/nets/a.kvl", "/nets/c.kvl", "/nets/b.kvl"));
}

TEST(RecentFiles, KeepsTheNewestEight) {
    TRecentFiles files;
    for (int i = 1; i <= 10; ++i)
        RememberRecentFile(files, "/nets/" + std::to_string(i) + ".kvl");
    ASSERT_EQ(files.size(), MostRecentFiles);
    EXPECT_EQ(files.front(), "/nets/10.kvl");
    EXPECT_EQ(files.back(), "/nets/3.kvl");
}

TEST(RecentFiles, ForgetsAFileAndSkipsNamesTheSettingsCouldNotKeep) {
    TRecentFiles files;
    RememberRecentFile(files, "/nets/a.kvl");
    RememberRecentFile(files, "/nets/b.kvl");
    RememberRecentFile(files, "/nets/line\nbreak.kvl");
    RememberRecentFile(files, "/nets/trailing blank ");
    ForgetRecentFile(files, "/nets/a.kvl");
    ForgetRecentFile(files, "/nets/never.kvl");
    EXPECT_THAT(files, ElementsAre("/nets/b.kvl"));
}

class RecentFilesFileTest : public ::testing::Test {
protected:
    TTempFolder Folder;
    std::filesystem::path Path = Folder / "KVLConfig.ini";
};

TEST_F(RecentFilesFileTest, SavedListReadsBackInOrderAndAShorterListDropsTheRest) {
    TRecentFiles files;
    for (const char* name : {"/a.kvl", "/Мережі/б.kvl", "/c d/e.kvl"})
        RememberRecentFile(files, name);
    SaveRecentFiles(Path, files);
    EXPECT_EQ(LoadRecentFiles(Path), files);

    SaveRecentFiles(Path, {"/only.kvl"});
    EXPECT_THAT(LoadRecentFiles(Path), ElementsAre("/only.kvl"));
    EXPECT_EQ(ReadBytes(Path).find("File2"), std::string::npos);
}

TEST_F(RecentFilesFileTest, TheSettingsKeysKeepTheirOrderAndValues) {
    TEngine engine;
    InitEngine(engine);
    engine.BaseVertexMark = 7;
    engine.GridEnabled = !engine.GridEnabled;
    SaveSettings(engine, Path);
    const std::string settingsOnly = ReadBytes(Path);

    SaveRecentFiles(Path, {"/nets/queue.kvl", "/nets/line.kvl"});
    const std::string withList = ReadBytes(Path);
    // The list is a section added after the settings, which stay byte for byte as they were.
    ASSERT_EQ(withList.substr(0, settingsOnly.size()), settingsOnly);
    EXPECT_EQ(withList.substr(settingsOnly.size()),
              "[RecentFiles]\r\nFile1=/nets/queue.kvl\r\nFile2=/nets/line.kvl\r\n");

    // Saving the settings again at exit leaves the list where it is.
    SaveSettings(engine, Path);
    EXPECT_EQ(ReadBytes(Path), withList);
    TEngine reread;
    InitEngine(reread);
    LoadSettings(reread, Path);
    EXPECT_EQ(reread.BaseVertexMark, 7);
    EXPECT_EQ(reread.GridEnabled, engine.GridEnabled);
}

TEST_F(RecentFilesFileTest, AMissingFileGivesNoneAndAnUnreadableOneIsNotOverwritten) {
    EXPECT_TRUE(LoadRecentFiles(Path).empty());
    std::filesystem::create_directory(Path); // a folder where the file should be
    EXPECT_TRUE(LoadRecentFiles(Path).empty());
    EXPECT_THROW(SaveRecentFiles(Path, {"/a.kvl"}), TEngineError);
    EXPECT_TRUE(std::filesystem::is_directory(Path));
}

} // namespace
