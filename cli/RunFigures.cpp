#include "RunFigures.h"

#include "LaunchBuffer.h"
#include "Statistics.h"
#include "TextCodec.h"

#include <charconv>
#include <cmath>

namespace {

// clang-format off
constexpr TFigureSpec kVertexSpecs[] = {
    {"marking", fkInteger, false},
    {"change_count", fkInteger, false},
    {"received_total", fkInteger, false},
    {"min", fkInteger, true},
    {"max", fkInteger, true},
    {"mean", fkReal, true},
    {"mean_wait", fkReal, true},
};

constexpr TFigureSpec kTransitionSpecs[] = {
    {"buffer", fkInteger, false},
    {"launch_count", fkInteger, false},
    {"min", fkInteger, true},
    {"max", fkInteger, true},
    {"mean", fkReal, true},
    {"busy", fkReal, true},
    {"busy_pct", fkReal, true},
};
// clang-format on

using TValue = std::optional<double>;

TObjectFigures VertexFigures(const TVertex& v, double warmUp, double modelTime) {
    TObjectFigures figures{Win1251ToUtf8(v.Name), v.IsMonitoring, {}};
    figures.Values = {double(v.Marking), double(v.ChangeCount), double(v.ReceivedTotal)};
    TVertexStats stats;
    if (v.IsMonitoring)
        stats = VertexWindowStats(v, warmUp, modelTime);
    if (stats.Success) {
        figures.Values.insert(figures.Values.end(),
                              {double(stats.MinMarking), double(stats.MaxMarking), stats.Mean,
                               stats.MeanWait == -1 ? TValue() : TValue(stats.MeanWait)});
    } else {
        figures.Values.resize(std::size(kVertexSpecs));
    }
    return figures;
}

TObjectFigures TransitionFigures(const TTransition& t, double warmUp, double modelTime) {
    TObjectFigures figures{Win1251ToUtf8(t.Name), t.IsMonitoring, {}};
    figures.Values = {double(BufferCount(t.LaunchBuffer)), double(t.LaunchCount)};
    TTransitionStats stats;
    if (t.IsMonitoring)
        stats = TransitionWindowStats(t, warmUp, modelTime, true);
    if (stats.Success) {
        const bool busy = stats.Busy != -1;
        figures.Values.insert(figures.Values.end(),
                              {double(stats.MinBuffer), double(stats.MaxBuffer), stats.Mean,
                               busy ? TValue(stats.Busy) : TValue(),
                               busy ? TValue(stats.BusyPercent) : TValue()});
    } else {
        figures.Values.resize(std::size(kTransitionSpecs));
    }
    return figures;
}

} // namespace

std::span<const TFigureSpec> VertexFigureSpecs() {
    return kVertexSpecs;
}

std::span<const TFigureSpec> TransitionFigureSpecs() {
    return kTransitionSpecs;
}

void TakeFigures(TEngine& engine, double warmUp, TRunFigures& figures) {
    const TEngineNet& net = engine.Net;
    figures.ModelTime = net.ModelTime;
    figures.Vertices.clear();
    figures.Transitions.clear();
    figures.Vertices.reserve(net.Vertices.size());
    for (const auto& vertex : net.Vertices)
        figures.Vertices.push_back(VertexFigures(*vertex, warmUp, net.ModelTime));
    figures.Transitions.reserve(net.Transitions.size());
    for (const auto& transition : net.Transitions)
        figures.Transitions.push_back(TransitionFigures(*transition, warmUp, net.ModelTime));
}

const char* StopName(TRunStop stop) {
    switch (stop) {
    case rsOverflow:
        return "overflow";
    case rsEndlessInstant:
        return "endless_instant";
    default:
        return "end";
    }
}

std::optional<TRunStop> TryStopOfName(const std::string& name) {
    for (TRunStop stop : {rsNone, rsOverflow, rsEndlessInstant})
        if (name == StopName(stop))
            return stop;
    return std::nullopt;
}

std::string JsonReal(double value) {
    if (!std::isfinite(value))
        return "null";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static const char* const kHex = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string JsonFigure(const std::optional<double>& value, TFigureKind kind) {
    if (!value)
        return "null";
    if (kind == fkInteger) {
        char buffer[32];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(*value));
        return std::string(buffer, result.ptr);
    }
    return JsonReal(*value);
}

std::string ObjectFiguresJson(const TObjectFigures& object, std::span<const TFigureSpec> specs) {
    // The monitoring flag follows the first figure (the marking, the launch buffer's length),
    // where single runs have always written it.
    std::string line = "{\"name\": " + JsonString(object.Name);
    for (std::size_t i = 0; i < specs.size(); ++i) {
        line +=
            std::string(", \"") + specs[i].Key + "\": " +
            JsonFigure(i < object.Values.size() ? object.Values[i] : std::nullopt, specs[i].Kind);
        if (i == 0)
            line += std::string(", \"monitoring\": ") + (object.Monitoring ? "true" : "false");
    }
    return line + "}";
}
