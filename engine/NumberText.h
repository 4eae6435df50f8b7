// Real numbers as text with "." as the decimal separator whatever the user's locale. Every real
// shown for editing, read from an edit or written to a net file goes through these two functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Formats 0.02 with the C library under the current locale and remembers its decimal separator.
// Runs once, as the first step of building the engine, after the program has set its locale.
void DetectDecimalSeparator();
// The separator the detection found ('.' when it found none other).
char LocalDecimalSeparator();

// An empty format gives the general format: at most 15 significant digits, trailing zeros
// dropped, exponent form ("1E-7", "1.5E20") below 0.00001 or beyond 15 integer digits.
// The patterns "0", "0.00", "0.000", "0.000000" give that many decimals.
std::string FloatToText(std::string_view format, double value);

// Accepts an optional sign, digits with an optional fraction and an optional exponent, with
// blanks before and after; "." is the separator in every locale, and the locale's own
// separator is accepted too. Throws TEngineError when the text is not a number; its message
// quotes the text as given, which is the user's typing in UTF-8 (a number itself is plain ASCII).
double TextToFloat(std::string_view text);
// The same conversion without the exception.
std::optional<double> TryTextToFloat(std::string_view text);

// The general format with the locale's own decimal separator, and its reading, which accepts that
// separator only. The settings file keeps one value this way, as it always has.
std::string LocaleFloatText(double value);
std::optional<double> TryLocaleTextToFloat(std::string_view text);

// An integer typed into an edit (UTF-8): optional sign and decimal digits, blanks around ignored.
// Throws TEngineError, quoting the text, when it is not a 32-bit integer.
std::int32_t TextToInteger(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);
// The same as a 32-bit integer; values beyond its range stop at its ends, NaN gives 0.
std::int32_t RoundToInt(double value);
