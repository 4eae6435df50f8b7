#include "MessageText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

using ::testing::HasSubstr;

TEST(QuotedText, ShortTextIsQuotedWhole) {
    EXPECT_EQ(QuotedText("dtFast"), "«dtFast»");
    EXPECT_EQ(QuotedText("\xCF\xB3"), "«Пі»"); // Windows-1251 becomes UTF-8
    EXPECT_EQ(QuotedText(std::string(kQuotedLength, 'a')),
              "«" + std::string(kQuotedLength, 'a') + "»");
}

TEST(QuotedText, LongTextIsCutWithAnEllipsis) {
    const std::string quoted = QuotedText(std::string(1'000'000, 'x'));
    EXPECT_EQ(quoted, "«" + std::string(kQuotedLength, 'x') + "…»");
    // A cut never splits a Cyrillic letter: the limit counts characters, not UTF-8 bytes.
    std::string letters;
    for (std::size_t i = 0; i < kQuotedLength; ++i)
        letters += "а";
    EXPECT_EQ(QuotedText(std::string(100, '\xE0')), "«" + letters + "…»");
}

TEST(QuotedText, ControlBytesAreShownVisibly) {
    const std::string quoted = QuotedText(std::string("a\0b\x01\x1F\x7F\tc", 8));
    EXPECT_EQ(quoted, "«a\\0b\\x01\\x1F\\x7F\\x09c»");
    EXPECT_EQ(quoted.find('\0'), std::string::npos);
}

TEST(SystemErrorText, CommonErrorsHaveUkrainianPhrases) {
    for (const int error : {ENOSPC, EDQUOT, EACCES, EPERM, EROFS, ENOENT, ENOTDIR, EISDIR, EEXIST,
                            EMFILE, ENFILE, EIO, ENAMETOOLONG}) {
        const std::string text = SystemErrorText(error);
        EXPECT_THAT(text, ::testing::Not(HasSubstr("помилка " + std::to_string(error)))) << error;
        ASSERT_FALSE(text.empty());
        // The phrase starts with a Cyrillic letter, not with the English text of the C library.
        EXPECT_GE(static_cast<unsigned char>(text[0]), 0xD0) << error;
    }
    EXPECT_THAT(SystemErrorText(ENOSPC), HasSubstr("місця"));
    EXPECT_THAT(SystemErrorText(EROFS), HasSubstr("лише для читання"));
}

TEST(SystemErrorText, OtherErrorsAreNamedByNumber) {
    EXPECT_EQ(SystemErrorText(EXDEV), "системна помилка " + std::to_string(EXDEV));
}

} // namespace
