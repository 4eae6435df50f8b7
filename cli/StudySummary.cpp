#include "StudySummary.h"

#include <boost/math/distributions/students_t.hpp>

#include <cmath>
#include <limits>

double StudentQuantile(double probability, std::uint64_t freedom) {
    const boost::math::students_t distribution(static_cast<double>(freedom));
    return boost::math::quantile(distribution, probability);
}

TSummary Summarize(const std::vector<double>& values, double confidence) {
    TSummary summary;
    summary.Count = values.size();
    if (values.empty())
        return summary;
    double sum = 0;
    for (double value : values)
        sum += value;
    const double n = static_cast<double>(values.size());
    summary.Mean = sum / n;
    if (values.size() < 2)
        return summary;
    // Two passes: the squares of the deviations from the mean, not the difference of two large
    // sums, so that a figure with a large mean and a small spread keeps its digits.
    double squares = 0;
    for (double value : values)
        squares += (value - summary.Mean) * (value - summary.Mean);
    const double deviation = std::sqrt(squares / (n - 1));
    summary.Deviation = deviation;
    summary.HalfWidth =
        StudentQuantile((1 + confidence) / 2, values.size() - 1) * deviation / std::sqrt(n);
    return summary;
}

std::optional<double> RelativeHalfWidth(const TSummary& summary) {
    if (!summary.HalfWidth)
        return std::nullopt;
    if (summary.Mean == 0)
        return *summary.HalfWidth == 0 ? 0 : std::numeric_limits<double>::infinity();
    return *summary.HalfWidth / std::fabs(summary.Mean);
}
