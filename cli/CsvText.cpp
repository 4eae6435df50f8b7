#include "CsvText.h"

#include <charconv>
#include <cmath>

std::string CsvField(const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos)
        return utf8;
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvReal(double value) {
    if (!std::isfinite(value))
        return {};
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string CsvFigure(const std::optional<double>& value, TFigureKind kind) {
    if (!value)
        return {};
    // A count's figure is an exact integer; JsonFigure writes it without a point.
    return kind == fkInteger ? JsonFigure(value, kind) : CsvReal(*value);
}
