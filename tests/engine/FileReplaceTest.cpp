#include "FileReplace.h"
#include "EngineError.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

class FileReplaceTest : public ::testing::Test {
protected:
    // The message of the TEngineError that saving `text` to `path` throws.
    std::string FailureOf(const fs::path& path, const std::string& text = "new") {
        try {
            ReplaceFile(path, text);
        } catch (const TEngineError& error) {
            return error.what();
        }
        ADD_FAILURE() << "saved " << path;
        return {};
    }

    TTempFolder Folder;
};

TEST_F(FileReplaceTest, LinksAreWrittenThroughToTheFileTheyFinallyName) {
    // A dangling link: the file it names is created and the link stays a link.
    fs::create_symlink("made.kvl", Folder / "dangling.kvl");
    ReplaceFile(Folder / "dangling.kvl", "first");
    EXPECT_TRUE(fs::is_symlink(Folder / "dangling.kvl"));
    EXPECT_EQ(ReadBytes(Folder / "made.kvl"), "first");

    // A chain of links, one of them relative to a folder of its own.
    fs::create_directories(Folder / "sub");
    fs::create_symlink("../made.kvl", Folder / "sub" / "inner.kvl");
    fs::create_symlink(Folder / "sub" / "inner.kvl", Folder / "outer.kvl");
    EXPECT_EQ(FinalTarget(Folder / "outer.kvl"), Folder / "sub" / ".." / "made.kvl");
    ReplaceFile(Folder / "outer.kvl", "second");
    EXPECT_TRUE(fs::is_symlink(Folder / "outer.kvl"));
    EXPECT_TRUE(fs::is_symlink(Folder / "sub" / "inner.kvl"));
    EXPECT_EQ(ReadBytes(Folder / "made.kvl"), "second");
}

TEST_F(FileReplaceTest, CircleOfLinksIsRefused) {
    fs::create_symlink("b.kvl", Folder / "a.kvl");
    fs::create_symlink("a.kvl", Folder / "b.kvl");
    EXPECT_THAT(FailureOf(Folder / "a.kvl"), HasSubstr("посилань"));
    EXPECT_TRUE(fs::is_symlink(Folder / "a.kvl"));
    EXPECT_TRUE(fs::is_symlink(Folder / "b.kvl"));
}

TEST_F(FileReplaceTest, PermissionsOfTheOldFileAreKept) {
    const auto path = Folder / "script.kvl";
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read);
    ReplaceFile(path, "new");
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_all | fs::perms::group_read);
}

TEST_F(FileReplaceTest, OwnerAndGroupOfTheOldFileAreKept) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    const auto path = Folder / "theirs.kvl";
    WriteBytes(path, "old");
    ASSERT_EQ(chown(path.c_str(), 12345, 23456), 0);
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);
    ReplaceFile(path, "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 12345u);
    EXPECT_EQ(info.st_gid, 23456u);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST_F(FileReplaceTest, WriteProtectedFileIsRefusedAndKept) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    const auto path = Folder / "protected.kvl";
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    const std::string message = FailureOf(path);
    EXPECT_THAT(message, HasSubstr(path.string()));
    EXPECT_THAT(message, HasSubstr("захищено від запису"));
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST(IsWriteProtected, OnlyAPlainRefusalCounts) {
    EXPECT_TRUE(IsWriteProtected(-1, EACCES));
    EXPECT_FALSE(IsWriteProtected(0, 0));
    EXPECT_FALSE(IsWriteProtected(0, EACCES)); // a stale errno after success
    EXPECT_FALSE(IsWriteProtected(-1, EROFS)); // the save reports this one itself
}

TEST_F(FileReplaceTest, ReasonOfAFailureIsInUkrainian) {
    EXPECT_THAT(FailureOf(Folder / "no-such-folder" / "net.kvl"),
                HasSubstr("файлу або папки не існує"));
    fs::create_directories(Folder / "folder.kvl");
    EXPECT_THAT(FailureOf(Folder / "folder.kvl"), HasSubstr("це папка, а не файл"));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder.Path()), fs::directory_iterator()), 1);
}

} // namespace
