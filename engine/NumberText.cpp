#include "NumberText.h"

#include "EngineError.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace {

// Atomic so that engines set up in several threads at once (kvl-sim's replications) may detect
// the separator while others read it.
std::atomic<bool> ConversionOn{false};
std::atomic<char> LocalSeparator{'.'};

// A finite value as 0.D1D2...Dn x 10^Exponent, with 41 significant digits: enough that rounding
// them half up gives the correctly rounded text of the exact binary value.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

TDecimal ToDecimal(double value) {
    TDecimal decimal;
    decimal.Negative = std::signbit(value);
    char buffer[96];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 40);
    const std::string_view text(buffer, result.ptr - buffer);
    const auto e = text.find('e');
    decimal.Digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(),
                    exponent);
    decimal.Exponent = exponent + 1;
    return decimal;
}

// Keeps `count` leading digits, rounding half up on the digit after them. A count of 0 or less
// may round up to a single "1" one place higher; an empty result means the value rounded to 0.
void RoundDigits(TDecimal& decimal, int count) {
    if (count >= static_cast<int>(decimal.Digits.size()))
        return;
    if (count < 0) {
        decimal.Digits.clear();
        return;
    }
    const bool up = decimal.Digits[count] >= '5';
    decimal.Digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && decimal.Digits[i] == '9')
            decimal.Digits[i--] = '0';
        if (i >= 0) {
            ++decimal.Digits[i];
        } else {
            decimal.Digits.insert(decimal.Digits.begin(), '1');
            decimal.Digits.resize(std::max(count, 1));
            ++decimal.Exponent;
        }
    }
    while (!decimal.Digits.empty() && decimal.Digits.back() == '0')
        decimal.Digits.pop_back();
}

// Writes the digits in fixed notation with at least `decimals` places after the point.
std::string FixedText(const TDecimal& decimal, int decimals) {
    std::string text;
    if (decimal.Exponent <= 0) {
        text = "0";
    } else {
        for (int i = 0; i < decimal.Exponent; ++i)
            text += i < static_cast<int>(decimal.Digits.size()) ? decimal.Digits[i] : '0';
    }
    std::string fraction;
    for (int i = decimal.Exponent; i < static_cast<int>(decimal.Digits.size()); ++i)
        fraction += i < 0 ? '0' : decimal.Digits[i];
    if (static_cast<int>(fraction.size()) < decimals)
        fraction.append(decimals - fraction.size(), '0');
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

std::string GeneralText(double value) {
    TDecimal decimal = ToDecimal(value);
    RoundDigits(decimal, 15);
    if (decimal.Digits.empty())
        return "0";
    const int exponent = decimal.Exponent - 1; // of the first digit
    std::string text = decimal.Negative ? "-" : "";
    if (exponent < -5 || exponent > 14) {
        text += decimal.Digits[0];
        if (decimal.Digits.size() > 1)
            text += "." + decimal.Digits.substr(1);
        text += "E" + std::to_string(exponent);
        return text;
    }
    return text + FixedText(decimal, 0);
}

std::string PatternText(std::string_view format, double value) {
    const auto point = format.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(format.size() - point - 1);
    TDecimal decimal = ToDecimal(value);
    RoundDigits(decimal, decimal.Exponent + decimals);
    if (decimal.Digits.empty()) {
        decimal.Negative = false;
        decimal.Exponent = 0;
    }
    return (decimal.Negative ? "-" : "") + FixedText(decimal, decimals);
}

std::string SpecialText(double value) {
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// Converts a text already checked against the number grammar, with "." as its separator.
double ConvertChecked(const std::string& text) {
    const char* first = text.c_str() + (text[0] == '+');
    double value = 0;
    const auto result = std::from_chars(first, text.c_str() + text.size(), value);
    if (result.ec == std::errc())
        return value;
    // Out of range: strtod in the C locale tells an overflow (infinite) from an underflow (0).
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(first, nullptr, cLocale);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the number grammar; `separator` is the one decimal separator allowed.
bool MatchesNumber(std::string_view text, char separator, std::string& normalised) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    normalised.clear();
    if (i < n && (text[i] == '+' || text[i] == '-'))
        normalised += text[i++];
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) {
        normalised += text[i++];
        ++digits;
    }
    if (i < n && text[i] == separator) {
        normalised += '.';
        ++i;
        while (i < n && IsDigit(text[i])) {
            normalised += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        normalised += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            normalised += text[i++];
        std::size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            normalised += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

} // namespace

void DetectDecimalSeparator() {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", 0.02);
    const bool conversion = buffer[1] != '.';
    LocalSeparator = conversion ? buffer[1] : '.';
    ConversionOn = conversion;
}

char LocalDecimalSeparator() {
    return LocalSeparator;
}

std::string FloatToText(std::string_view format, double value) {
    // Our digits never carry the locale's separator, so the result already has "."
    if (!std::isfinite(value))
        return SpecialText(value);
    if (value == 0)
        value = 0; // no "-0"
    return format.empty() ? GeneralText(value) : PatternText(format, value);
}

// Reals within rounding of the largest double are written with fifteen digits as
// 1.79769313486232E308, just above it. Such a text stands for the largest double, so that
// every real the program writes reads back; anything larger is refused.
static std::optional<double> RoundedLargest(const std::string& normalised) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const char* first = normalised.c_str() + (normalised[0] == '+');
    const long double wide = strtold_l(first, nullptr, cLocale);
    constexpr long double kWrittenLargest = 1.79769313486232E308L;
    if (std::fabs(wide) > kWrittenLargest)
        return std::nullopt;
    return std::copysign(std::numeric_limits<double>::max(), static_cast<double>(wide));
}

// Converts with the locale's separator as the only one.
static std::optional<double> ConvertLocal(std::string_view text) {
    std::string_view trimmed(text);
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.remove_suffix(1);
    std::string normalised;
    if (!MatchesNumber(trimmed, LocalSeparator, normalised))
        return std::nullopt;
    const double value = ConvertChecked(normalised);
    if (!std::isfinite(value))
        return RoundedLargest(normalised);
    return value;
}

std::optional<double> TryTextToFloat(std::string_view text) {
    std::string local(text);
    if (ConversionOn) {
        const auto point = local.find('.');
        if (point != std::string::npos)
            local[point] = LocalSeparator;
    }
    return ConvertLocal(local);
}

std::optional<double> TryLocaleTextToFloat(std::string_view text) {
    return ConvertLocal(text);
}

std::string LocaleFloatText(double value) {
    std::string text = FloatToText("", value);
    const auto point = text.find('.');
    if (point != std::string::npos)
        text[point] = LocalSeparator;
    return text;
}

double TextToFloat(std::string_view text) {
    if (auto value = TryTextToFloat(text))
        return *value;
    throw TEngineError("«" + std::string(text) + "» не є правильним дійсним числом");
}

double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

std::int32_t RoundToInt(double value) {
    const double rounded = RoundHalfEven(value);
    if (!(rounded > -2147483648.0))
        return rounded != rounded ? 0 : INT32_MIN;
    if (rounded > 2147483647.0)
        return INT32_MAX;
    return static_cast<std::int32_t>(rounded);
}

std::int32_t TextToInteger(std::string_view text) {
    std::string_view trimmed = text;
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.remove_suffix(1);
    const char* first = trimmed.data();
    const char* last = trimmed.data() + trimmed.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    std::int32_t value = 0;
    const auto result = std::from_chars(first, last, value);
    if (trimmed.empty() || result.ec != std::errc() || result.ptr != last)
        throw TEngineError("«" + std::string(text) + "» не є правильним цілим числом");
    return value;
}
