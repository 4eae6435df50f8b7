// Comparison of two engines' states, field by field and bit for bit, keeping the first
// difference found as text for the failure message.
#pragma once

#include "History.h"
#include "LaunchBuffer.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

inline std::string Number(double value) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

inline bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
template <typename Value> inline bool Same(const Value& a, const Value& b) {
    return a == b;
}

inline std::string Text(double value) {
    return Number(value);
}
inline std::string Text(const std::string& value) {
    return '"' + value + '"';
}
template <typename Value> inline std::string Text(const Value& value) {
    return std::to_string(value);
}

inline bool SameSample(const HistorySample& a, const HistorySample& b) {
    return Same(a.Time, b.Time) && Same(a.Value, b.Value) && Same(a.Aux, b.Aux) &&
           Same(a.Area, b.Area);
}

inline std::string SampleText(const HistorySample& s) {
    return "(" + Number(s.Time) + ", " + Number(s.Value) + ", " + Number(s.Aux) + ", area " +
           Number(s.Area) + ")";
}

inline std::vector<std::uint64_t> SortedBits(const TTransitionBuffer& buffer) {
    std::vector<std::uint64_t> bits;
    for (double time : buffer.Entries)
        bits.push_back(std::bit_cast<std::uint64_t>(time));
    std::sort(bits.begin(), bits.end());
    return bits;
}

inline std::string FirstDifferentLine(const std::string& a, const std::string& b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const auto line = [at](const std::string& s) {
        const std::size_t start = s.rfind('\n', at == 0 ? 0 : at - 1);
        const std::size_t from = start == std::string::npos ? 0 : start + 1;
        return s.substr(from, s.find('\n', from) - from);
    };
    return line(a) + "\n  against\n" + line(b);
}

// Keeps the first difference found between the two sides.
class TComparison {
public:
    template <typename Value>
    void Check(const std::string& object, const char* field, const Value& a, const Value& b) {
        if (First.empty() && !Same(a, b))
            First = object + " " + field + ": " + Text(a) + " against " + Text(b);
    }

    void CheckHistory(const std::string& object, const HistoryList& a, const HistoryList& b) {
        Check(object, "history length", a.Count(), b.Count());
        Check(object, "compacted samples", a.MeanCount, b.MeanCount);
        Check(object, "value before the first sample", a.ValueBeforeFirst, b.ValueBeforeFirst);
        Check(object, "anchor", a.Anchor.Valid, b.Anchor.Valid);
        if (a.Anchor.Valid && b.Anchor.Valid) {
            Check(object, "anchor time", a.Anchor.Time, b.Anchor.Time);
            Check(object, "anchor area", a.Anchor.Area, b.Anchor.Area);
            Check(object, "anchor received", a.Anchor.ReceivedBefore, b.Anchor.ReceivedBefore);
            Check(object, "anchor busy", a.Anchor.Busy, b.Anchor.Busy);
            Check(object, "anchor's next sample", a.Anchor.NextSampleTime, b.Anchor.NextSampleTime);
        }
        for (std::int32_t i = 0; First.empty() && i < a.Count(); ++i)
            if (!SameSample(a.Samples[i], b.Samples[i]))
                First = object + " history sample " + std::to_string(i) + ": " +
                        SampleText(a.Samples[i]) + " against " + SampleText(b.Samples[i]);
    }

    void CheckBuffer(const std::string& object, const TTransitionBuffer& a,
                     const TTransitionBuffer& b) {
        Check(object, "buffer length", BufferCount(a), BufferCount(b));
        const auto x = SortedBits(a);
        const auto y = SortedBits(b);
        const auto differs = std::mismatch(x.begin(), x.end(), y.begin(), y.end());
        if (First.empty() && differs.first != x.end())
            First = object + " launch buffer, sorted entry " +
                    std::to_string(differs.first - x.begin()) + ": " +
                    Number(std::bit_cast<double>(*differs.first)) + " against " +
                    Number(std::bit_cast<double>(*differs.second));
    }

    std::string First;
};
