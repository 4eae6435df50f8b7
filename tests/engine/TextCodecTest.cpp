#include "TextCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(TextCodec, ConvertsUkrainianBothWays) {
    const std::string utf8 = "Черга ҐЄІЇ ґєії №1 «так»";
    const std::string win1251 = Utf8ToWin1251(utf8);
    EXPECT_EQ(
        win1251,
        "\xD7\xE5\xF0\xE3\xE0 \xA5\xAA\xB2\xAF \xB4\xBA\xB3\xBF \xB9\x31 \xAB\xF2\xE0\xEA\xBB");
    EXPECT_EQ(Win1251ToUtf8(win1251), utf8);
}

TEST(TextCodec, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToWin1251(Win1251ToUtf8(all)), all);
}

TEST(TextCodec, UnmappableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToWin1251("a\xE4\xB8\xAD"
                            "b"),
              "a?b"); // a Chinese character
    EXPECT_EQ(Utf8ToWin1251("a\xFF"
                            "b"),
              "a?b");
    EXPECT_EQ(Utf8ToWin1251("a\xD0"), "a?"); // cut in the middle of a sequence
}

TEST(TextCodec, UpperCaseMapsLatinAndCyrillicLetters) {
    EXPECT_EQ(UpperCase1251("p1"), "P1");
    EXPECT_EQ(UpperCase1251(Utf8ToWin1251("черга ґ є і ї ё ў")),
              Utf8ToWin1251("ЧЕРГА Ґ Є І Ї Ё Ў"));
    EXPECT_EQ(UpperCase1251("\xB5"), "\xB5"); // the micro sign has no capital
    EXPECT_TRUE(SameText1251(Utf8ToWin1251("Вершина"), Utf8ToWin1251("вЕРШИНА")));
    EXPECT_FALSE(SameText1251("P1", "P10"));
}

} // namespace
