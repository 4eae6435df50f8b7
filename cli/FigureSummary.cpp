#include "FigureSummary.h"

#include <nlohmann/json.hpp>

std::vector<double> FigureValues(const std::vector<TRunFigures>& rows, bool isVertex,
                                 std::size_t object, std::size_t figure) {
    std::vector<double> values;
    for (const TRunFigures& row : rows) {
        const auto& objects = isVertex ? row.Vertices : row.Transitions;
        if (object < objects.size() && figure < objects[object].Values.size() &&
            objects[object].Values[figure])
            values.push_back(*objects[object].Values[figure]);
    }
    return values;
}

TSummary SummarizeFigure(const TStudyHeader& header, const std::vector<TRunFigures>& rows,
                         bool isVertex, std::size_t object, std::size_t figure) {
    return Summarize(FigureValues(rows, isVertex, object, figure), header.Confidence);
}

std::string SweepValueText(const TStudyHeader& header, std::size_t point) {
    if (point >= header.SweepValues.size())
        return "";
    const std::string& json = header.SweepValues[point];
    if (json.empty() || json.front() != '"')
        return json;
    return nlohmann::json::parse(json).get<std::string>();
}

std::optional<double> SweepValueNumber(const TStudyHeader& header, std::size_t point) {
    if (point >= header.SweepValues.size())
        return std::nullopt;
    const nlohmann::json value = nlohmann::json::parse(header.SweepValues[point], nullptr, false);
    if (!value.is_number())
        return std::nullopt;
    return value.get<double>();
}
