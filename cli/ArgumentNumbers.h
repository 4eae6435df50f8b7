// Numbers on the command line: the whole argument must be the number, written as in the C
// locale whatever the user's locale is.
#pragma once

#include <charconv>
#include <cmath>
#include <string>

// A count, a seed or an index: digits only.
template <typename Number> bool ParseUnsignedArgument(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// A number that may carry a sign, "+" included.
template <typename Number> bool ParseSignedArgument(const std::string& text, Number& value) {
    const char* first = text.data() + (!text.empty() && text[0] == '+');
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(first, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// A finite real with a point, as 1.5 or -2e3.
inline bool ParseRealArgument(const std::string& text, double& value) {
    return ParseSignedArgument(text, value) && std::isfinite(value);
}
