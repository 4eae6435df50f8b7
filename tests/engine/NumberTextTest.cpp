#include "NumberText.h"
#include "EngineError.h"
#include "LocaleGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct TGeneralCase {
    double Value;
    const char* Text;
};

void PrintTo(const TGeneralCase& c, std::ostream* out) {
    *out << c.Text;
}

class FloatToTextGeneral : public ::testing::TestWithParam<TGeneralCase> {};

TEST_P(FloatToTextGeneral, WritesShortestTextOfFifteenDigits) {
    EXPECT_EQ(FloatToText("", GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FloatToTextGeneral,
    ::testing::Values(TGeneralCase{0, "0"}, TGeneralCase{-0.0, "0"}, TGeneralCase{1.5, "1.5"},
                      TGeneralCase{-2.25, "-2.25"}, TGeneralCase{100, "100"},
                      TGeneralCase{0.1, "0.1"}, TGeneralCase{0.1 + 0.2, "0.3"},
                      TGeneralCase{1.0 / 3, "0.333333333333333"},
                      TGeneralCase{2.0 / 3, "0.666666666666667"}, TGeneralCase{0.00001, "0.00001"},
                      TGeneralCase{0.000005, "5E-6"}, TGeneralCase{0.0000123, "0.0000123"},
                      TGeneralCase{0.00000123, "1.23E-6"}, TGeneralCase{1e-7, "1E-7"},
                      TGeneralCase{-1e-7, "-1E-7"},
                      TGeneralCase{123456789012345, "123456789012345"}, TGeneralCase{1e15, "1E15"},
                      TGeneralCase{1234567890123456, "1.23456789012346E15"},
                      TGeneralCase{999999999999999.9, "1E15"}, TGeneralCase{1.5e20, "1.5E20"},
                      TGeneralCase{2147483647, "2147483647"}, TGeneralCase{0.0001, "0.0001"},
                      // just below a half at the 15th digit: rounded once from the exact value
                      TGeneralCase{117.9994510019215, "117.999451001921"}));

TEST(FloatToText, PatternsGiveFixedDecimalsRoundingHalfUp) {
    EXPECT_EQ(FloatToText("0.000000", 1.5), "1.500000");
    EXPECT_EQ(FloatToText("0.000", 2), "2.000");
    EXPECT_EQ(FloatToText("0.00", 0.125), "0.13"); // an exact half rounds away from zero
    EXPECT_EQ(FloatToText("0.00", 99.999), "100.00");
    EXPECT_EQ(FloatToText("0", 2.5), "3");
    EXPECT_EQ(FloatToText("0", -2.5), "-3");
    EXPECT_EQ(FloatToText("0", 0.4), "0");
    EXPECT_EQ(FloatToText("0.00", -0.001), "0.00");
    EXPECT_EQ(FloatToText("0.000000", 1e-7), "0.000000");
    EXPECT_EQ(FloatToText("0.000000", 0.00000051), "0.000001");
    EXPECT_EQ(FloatToText("0.000000", 0.0000005), "0.000000"); // just below the half in binary
    EXPECT_EQ(FloatToText("0.00", 1234567.891), "1234567.89");
}

TEST(FloatToText, NonFiniteValuesHaveWords) {
    EXPECT_EQ(FloatToText("", std::numeric_limits<double>::infinity()), "INF");
    EXPECT_EQ(FloatToText("", -std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(FloatToText("", std::nan("")), "NAN");
}

TEST(TextToFloat, AcceptsSignDigitsFractionExponentAndSurroundingBlanks) {
    TLocaleGuard locale("C");
    EXPECT_EQ(TextToFloat("1.5"), 1.5);
    EXPECT_EQ(TextToFloat("  -3  "), -3);
    EXPECT_EQ(TextToFloat("+4"), 4);
    EXPECT_EQ(TextToFloat("1E3"), 1000);
    EXPECT_EQ(TextToFloat("1e-3"), 0.001);
    EXPECT_EQ(TextToFloat("5E-6"), 0.000005);
    EXPECT_EQ(TextToFloat(".5"), 0.5);
    EXPECT_EQ(TextToFloat("2."), 2);
    EXPECT_EQ(TextToFloat("1e-400"), 0); // underflow reads as zero
}

TEST(TextToFloat, RefusesWhatIsNotANumber) {
    TLocaleGuard locale("C");
    for (const char* text : {"", " ", "+", "-", "- 1", "1,5", "abc", "1e", "1e+", "1.5.3", "inf",
                             "nan", "0x10", "1e999", "M(P1)", "3 4", "."})
        EXPECT_FALSE(TryTextToFloat(text).has_value()) << "accepted \"" << text << "\"";
    EXPECT_THROW(TextToFloat("abc"), TEngineError);
}

// The refusal quotes the typed text as it came from the edit (UTF-8), Cyrillic included.
TEST(TextToFloat, RefusalQuotesTypedCyrillicText) {
    try {
        TextToFloat("сто");
        FAIL() << "accepted";
    } catch (const TEngineError& error) {
        EXPECT_STREQ(error.what(), "«сто» не є правильним дійсним числом");
    }
}

// Fifteen digits round the largest reals up past the largest double; what is written must read
// back, so such a text stands for the largest double, and only it.
TEST(TextToFloat, ReadsTheLargestRealsBackAsWritten) {
    TLocaleGuard locale("C");
    constexpr double largest = std::numeric_limits<double>::max();
    for (double value : {largest, std::nextafter(largest, 0.0), -largest, 1.7976931348623155e308}) {
        const std::string text = FloatToText("", value);
        const auto back = TryTextToFloat(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(std::fabs(*back) >= 1.79769313486231e308, true) << text;
        EXPECT_EQ(std::signbit(*back), std::signbit(value)) << text;
    }
    EXPECT_EQ(*TryTextToFloat("1.79769313486232E308"), largest);
    EXPECT_FALSE(TryTextToFloat("1.79769313486233E308").has_value());
    EXPECT_FALSE(TryTextToFloat("1.8E308").has_value());
}

TEST(TextToFloat, ReadsBackEveryGeneralTextOfFifteenDigits) {
    for (double value : {0.1, 12345.678, 5e-6, 1.5e20, -7.25, 123456789.012345})
        EXPECT_EQ(TextToFloat(FloatToText("", value)), value);
}

TEST(NumberTextUnderCommaLocale, WritesPointAndReadsBothSeparators) {
    TLocaleGuard locale(kCommaLocale);
    if (!locale.Active())
        GTEST_SKIP() << kCommaLocale << " is not installed (scripts/setup.sh generates it)";
    EXPECT_EQ(LocalDecimalSeparator(), ',');
    EXPECT_EQ(FloatToText("", 1.5), "1.5");
    EXPECT_EQ(FloatToText("0.000000", 0.25), "0.250000");
    EXPECT_EQ(TextToFloat("1.5"), 1.5);
    EXPECT_EQ(TextToFloat("1,5"), 1.5);
    EXPECT_EQ(TextToFloat("-2,5E2"), -250);
    EXPECT_FALSE(TryTextToFloat("1.5,3").has_value()); // only the first "." is the separator
}

TEST(NumberTextUnderPointLocale, DetectsPoint) {
    TLocaleGuard locale("C");
    EXPECT_EQ(LocalDecimalSeparator(), '.');
    EXPECT_FALSE(TryTextToFloat("1,5").has_value());
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(3.5000001), 4);
}

} // namespace
