#include "StudyTableText.h"

#include "FigureSummary.h"
#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

// Positions in VertexFigureSpecs() and TransitionFigureSpecs().
enum TVertexFigure : std::size_t {
    vfMarking,
    vfChangeCount,
    vfReceivedTotal,
    vfMin,
    vfMax,
    vfMean,
    vfMeanWait,
};
enum TTransitionFigure : std::size_t {
    tfBuffer,
    tfLaunchCount,
    tfMin,
    tfMax,
    tfMean,
    tfBusy,
    tfBusyPercent,
};

constexpr std::array<const char*, 7> kVertexDescriptions = {
    "маркування в кінці", "кількість змін маркування", "отримано фішок усього", "мін. маркування",
    "макс. маркування",   "середнє маркування",        "середнє очікування",
};
constexpr std::array<const char*, 7> kTransitionDescriptions = {
    "буфер запусків у кінці", "кількість запусків",      "мін. значення буфера",
    "макс. значення буфера",  "середнє значення буфера", "завантаженість (час)",
    "завантаженість, %",
};

enum TNumberStyle : std::uint8_t { nsFixed, nsScientific, nsGeneral };

std::string NumberText(double value, TNumberStyle style, int precision) {
    char buffer[400];
    const std::chars_format format = style == nsFixed        ? std::chars_format::fixed
                                     : style == nsScientific ? std::chars_format::scientific
                                                             : std::chars_format::general;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    std::string text(buffer, result.ptr);
    if (text.starts_with("-0") && text.find_first_not_of("-0.") == text.npos)
        text.erase(0, 1); // a mean that rounds to zero from below shows no sign
    return text;
}

std::string NonFiniteText(double value) {
    if (std::isnan(value))
        return "—";
    return value > 0 ? "∞" : "−∞";
}

int DecimalExponent(double value) {
    return int(std::floor(std::log10(std::fabs(value))));
}

} // namespace

bool IsTableFigure(bool isVertex, std::size_t figure, bool monitoring) {
    if (isVertex)
        return figure == vfReceivedTotal || (monitoring && figure >= vfMin);
    return figure == tfLaunchCount || (monitoring && figure >= tfMin);
}

std::vector<TStudyTableRow> StudyTableRows(const TStudyHeader& header,
                                           const std::vector<TRunFigures>& rows) {
    std::vector<TStudyTableRow> table;
    if (rows.empty())
        return table;
    for (const bool isVertex : {true, false}) {
        const auto specs = isVertex ? VertexFigureSpecs() : TransitionFigureSpecs();
        const auto& objects = isVertex ? rows.front().Vertices : rows.front().Transitions;
        for (std::size_t k = 0; k < objects.size(); ++k)
            for (std::size_t f = 0; f < specs.size(); ++f) {
                if (!IsTableFigure(isVertex, f, objects[k].Monitoring))
                    continue;
                const TSummary summary = SummarizeFigure(header, rows, isVertex, k, f);
                if (summary.Count > 0)
                    table.push_back({isVertex, k, f, objects[k].Name, summary});
            }
    }
    return table;
}

std::string FigureDescription(bool isVertex, std::size_t figure) {
    const auto& descriptions = isVertex ? kVertexDescriptions : kTransitionDescriptions;
    return figure < descriptions.size() ? descriptions[figure] : "";
}

std::string FigureCaption(bool isVertex, std::size_t figure) {
    const auto specs = isVertex ? VertexFigureSpecs() : TransitionFigureSpecs();
    if (figure >= specs.size())
        return "";
    return std::string(specs[figure].Key) + " — " + FigureDescription(isVertex, figure);
}

std::string MeanWithHalfWidth(double mean, const std::optional<double>& halfWidth) {
    if (!std::isfinite(mean))
        return NonFiniteText(mean);
    if (!halfWidth || !std::isfinite(*halfWidth) || *halfWidth <= 0) {
        const std::string text = NumberText(mean, nsGeneral, 6);
        return halfWidth && *halfWidth == 0 ? text + " ± 0" : text;
    }
    // The place of the half-width's second significant digit, counted as decimals, taken after
    // rounding to two digits, since rounding may carry into the next power (0.0996 -> 0.10).
    const std::string rounded = NumberText(*halfWidth, nsScientific, 1);
    const char* exponentText = rounded.data() + rounded.find('e') + 1;
    if (*exponentText == '+')
        ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, rounded.data() + rounded.size(), exponent);
    const int decimals = 1 - exponent;
    const bool huge = mean != 0 && DecimalExponent(mean) >= 15;
    if (decimals >= 0 && decimals <= 9 && !huge)
        return NumberText(mean, nsFixed, decimals) + " ± " +
               NumberText(*halfWidth, nsFixed, decimals);
    if (decimals < 0 && decimals >= -5 && !huge) {
        const double unit = std::pow(10.0, -decimals);
        return NumberText(RoundHalfEven(mean / unit) * unit, nsFixed, 0) + " ± " +
               NumberText(RoundHalfEven(*halfWidth / unit) * unit, nsFixed, 0);
    }
    // Very large or very small: both in powers of ten, the mean to the half-width's place.
    const int meanDigits = mean == 0 ? 0 : std::max(0, DecimalExponent(mean) + decimals);
    return NumberText(mean, nsScientific, meanDigits) + " ± " +
           NumberText(*halfWidth, nsScientific, 1);
}
