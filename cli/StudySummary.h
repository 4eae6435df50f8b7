// The summary of one figure over independent replications: the number of replications that
// have it, the mean, the sample standard deviation and the half-width of the Student's t
// confidence interval of the mean.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct TSummary {
    std::uint64_t Count = 0;
    double Mean = 0;                 // meaningful when Count > 0
    std::optional<double> Deviation; // from two replications on
    std::optional<double> HalfWidth; // from two replications on
};

// Sums in the order given, so that the same values give the same bits.
TSummary Summarize(const std::vector<double>& values, double confidence);

// The quantile of Student's t distribution with `freedom` degrees of freedom at `probability`.
double StudentQuantile(double probability, std::uint64_t freedom);

// The half-width relative to the mean's size: 0 when both are 0, infinite when only the mean
// is, and none below two replications.
std::optional<double> RelativeHalfWidth(const TSummary& summary);
