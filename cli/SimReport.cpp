#include "SimReport.h"

#include "LaunchBuffer.h"
#include "Statistics.h"
#include "TextCodec.h"

#include <charconv>
#include <cmath>

namespace {

// The shortest text that reads back to the same double, always with a decimal point or an
// exponent so that it reads as a real.
std::string Real(double value) {
    if (!std::isfinite(value))
        return "null";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}

std::string Quoted(const std::string& win1251) {
    std::string out = "\"";
    for (char c : Win1251ToUtf8(win1251)) {
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

const char* Boolean(bool value) {
    return value ? "true" : "false";
}

std::string VertexJson(const TVertex& v, double warmUp, double modelTime) {
    std::string line = "{\"name\": " + Quoted(v.Name) +
                       ", \"marking\": " + std::to_string(v.Marking) +
                       ", \"monitoring\": " + Boolean(v.IsMonitoring) +
                       ", \"change_count\": " + std::to_string(v.ChangeCount) +
                       ", \"received_total\": " + std::to_string(v.ReceivedTotal);
    TVertexStats stats;
    if (v.IsMonitoring)
        stats = VertexWindowStats(v, warmUp, modelTime);
    if (stats.Success) {
        line += ", \"min\": " + std::to_string(stats.MinMarking) +
                ", \"max\": " + std::to_string(stats.MaxMarking) +
                ", \"mean\": " + Real(stats.Mean) +
                ", \"mean_wait\": " + (stats.MeanWait == -1 ? "null" : Real(stats.MeanWait));
    } else {
        line += ", \"min\": null, \"max\": null, \"mean\": null, \"mean_wait\": null";
    }
    return line + "}";
}

std::string TransitionJson(const TTransition& t, double warmUp, double modelTime) {
    std::string line = "{\"name\": " + Quoted(t.Name) +
                       ", \"buffer\": " + std::to_string(BufferCount(t.LaunchBuffer)) +
                       ", \"monitoring\": " + Boolean(t.IsMonitoring) +
                       ", \"launch_count\": " + std::to_string(t.LaunchCount);
    TTransitionStats stats;
    if (t.IsMonitoring)
        stats = TransitionWindowStats(t, warmUp, modelTime, true);
    if (stats.Success) {
        const bool busy = stats.Busy != -1;
        line += ", \"min\": " + std::to_string(stats.MinBuffer) +
                ", \"max\": " + std::to_string(stats.MaxBuffer) +
                ", \"mean\": " + Real(stats.Mean) +
                ", \"busy\": " + (busy ? Real(stats.Busy) : "null") +
                ", \"busy_pct\": " + (busy ? Real(stats.BusyPercent) : "null");
    } else {
        line +=
            ", \"min\": null, \"max\": null, \"mean\": null, \"busy\": null, \"busy_pct\": null";
    }
    return line + "}";
}

template <typename Objects, typename Write> std::string List(const Objects& objects, Write write) {
    if (objects.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t i = 0; i < objects.size(); ++i)
        text += "    " + write(*objects[i]) + (i + 1 < objects.size() ? ",\n" : "\n");
    return text + "  ]";
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

} // namespace

std::string SimReportJson(TEngine& engine, double warmUp, TRunStop stop) {
    const TEngineNet& net = engine.Net;
    const double now = net.ModelTime;
    std::string json = "{\n";
    json += "  \"model_time\": " + Real(now) + ",\n";
    json += std::string("  \"stopped\": \"") + StopName(stop) + "\",\n";
    json += "  \"vertices\": " +
            List(net.Vertices, [&](const TVertex& v) { return VertexJson(v, warmUp, now); }) +
            ",\n";
    json += "  \"transitions\": " +
            List(net.Transitions,
                 [&](const TTransition& t) { return TransitionJson(t, warmUp, now); }) +
            "\n}\n";
    return json;
}
