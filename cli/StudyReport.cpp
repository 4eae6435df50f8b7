#include "StudyReport.h"

#include "FigureSummary.h"

namespace {

std::string ObjectList(const std::vector<TObjectFigures>& objects,
                       std::span<const TFigureSpec> specs) {
    std::string text = "[";
    for (std::size_t i = 0; i < objects.size(); ++i)
        text += (i ? ", " : "") + ObjectFiguresJson(objects[i], specs);
    return text + "]";
}

std::string Optional(const std::optional<double>& value) {
    return value ? JsonReal(*value) : "null";
}

std::string SummaryJson(const TSummary& summary) {
    if (summary.Count == 0)
        return "null";
    return "{\"n\": " + std::to_string(summary.Count) + ", \"mean\": " + JsonReal(summary.Mean) +
           ", \"sd\": " + Optional(summary.Deviation) +
           ", \"half_width\": " + Optional(summary.HalfWidth) + "}";
}

// The summaries of every object of a kind, one a line.
std::string SummaryList(const TStudyHeader& header, const std::vector<TRunFigures>& rows,
                        bool isVertex, const std::string& indent) {
    if (rows.empty())
        return "[]";
    const auto specs = isVertex ? VertexFigureSpecs() : TransitionFigureSpecs();
    const auto& objects = isVertex ? rows.front().Vertices : rows.front().Transitions;
    if (objects.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t k = 0; k < objects.size(); ++k) {
        text += indent + "  {\"name\": " + JsonString(objects[k].Name) +
                ", \"monitoring\": " + (objects[k].Monitoring ? "true" : "false");
        for (std::size_t f = 0; f < specs.size(); ++f)
            text += std::string(", \"") + specs[f].Key +
                    "\": " + SummaryJson(SummarizeFigure(header, rows, isVertex, k, f));
        text += k + 1 < objects.size() ? "},\n" : "}\n";
    }
    return text + indent + "]";
}

std::string ProblemList(const std::vector<TStudyProblem>& problems, std::size_t point, bool draws) {
    std::string text = "[";
    bool first = true;
    for (const TStudyProblem& problem : problems) {
        if (problem.Point != point)
            continue;
        text += std::string(first ? "" : ", ") +
                "{\"replication\": " + std::to_string(problem.Row->Replication) +
                (draws ? ", \"draws\": " + std::to_string(problem.Row->Draws)
                       : std::string(", \"stopped\": \"") + StopName(problem.Row->Stop) + "\"") +
                "}";
        first = false;
    }
    return text + "]";
}

std::string PointValue(const TStudyHeader& header, std::size_t point) {
    return point < header.SweepValues.size() ? header.SweepValues[point] : "null";
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The sweep value as a CSV field: numbers as they are, texts without their JSON quotes.
std::string CsvValue(const TStudyHeader& header, std::size_t point) {
    return CsvField(SweepValueText(header, point));
}

const char* const kCsvColumns = "value,replication,kind,object,statistic,n,mean,sd,half_width\n";

// The CSV rows of one replication: the figure as the mean, n 1 or 0.
std::string CsvReplicationRows(const std::string& value, const TRunFigures& row) {
    std::string text;
    for (const bool isVertex : {true, false}) {
        const auto specs = isVertex ? VertexFigureSpecs() : TransitionFigureSpecs();
        const auto& objects = isVertex ? row.Vertices : row.Transitions;
        for (const TObjectFigures& object : objects)
            for (std::size_t f = 0; f < specs.size(); ++f) {
                const auto& figure = object.Values[f];
                text += value + "," + std::to_string(row.Replication) + "," +
                        (isVertex ? "vertex" : "transition") + "," + CsvField(object.Name) + "," +
                        specs[f].Key + "," + (figure ? "1," : "0,") +
                        (figure ? JsonFigure(figure, specs[f].Kind) : "") + ",,\n";
            }
    }
    return text;
}

} // namespace

std::string ReplicationRowJson(const TRunFigures& row) {
    return "{\"replication\": " + std::to_string(row.Replication) +
           ", \"seed\": " + std::to_string(row.Seed) + ", \"draws\": " + std::to_string(row.Draws) +
           ", \"model_time\": " + JsonReal(row.ModelTime) + ", \"stopped\": \"" +
           StopName(row.Stop) +
           "\", \"vertices\": " + ObjectList(row.Vertices, VertexFigureSpecs()) +
           ", \"transitions\": " + ObjectList(row.Transitions, TransitionFigureSpecs()) + "}";
}

std::string StudyHeaderJson(const TStudyHeader& header, const std::string& indent) {
    const TRunSettings& s = header.Settings;
    auto boolean = [](bool value) { return value ? "true" : "false"; };
    std::string sets = "[";
    for (std::size_t i = 0; i < header.Sets.size(); ++i)
        sets += (i ? ", " : "") + JsonString(header.Sets[i]);
    sets += "]";
    std::string targets = "[";
    for (std::size_t i = 0; i < header.Targets.size(); ++i)
        targets += (i ? ", " : "") + JsonString(header.Targets[i]);
    targets += "]";
    std::string values = "[";
    for (std::size_t i = 0; i < header.SweepValues.size(); ++i)
        values += (i ? ", " : "") + header.SweepValues[i];
    values += "]";
    return indent + "\"net\": " + JsonString(header.Net) + ",\n" + indent + "\"net_hash\": \"" +
           header.NetHash + "\",\n" + indent + "\"interval\": " + JsonReal(header.Interval) +
           ",\n" + indent + "\"warmup\": " + JsonReal(header.WarmUp) + ",\n" + indent +
           "\"seed\": " + std::to_string(header.Seed) + ",\n" + indent +
           "\"replications\": " + std::to_string(header.Replications) + ",\n" + indent +
           "\"streams\": " + std::to_string(header.Streams) + ",\n" + indent +
           "\"stream_length\": " + std::to_string(StreamLength(header)) + ",\n" + indent +
           "\"confidence\": " + JsonReal(header.Confidence) + ",\n" + indent +
           "\"precision\": " + Optional(header.Precision) + ",\n" + indent +
           "\"targets\": " + targets + ",\n" + indent +
           "\"settings\": {\"conflict\": " + boolean(s.ConflictCheck) +
           ", \"vertex_history_simple\": " + boolean(s.DoVertexHistorySimple) +
           ", \"vertex_history_normal\": " + std::to_string(s.VertexHistoryNormal) +
           ", \"transition_history_simple\": " + boolean(s.DoTransitionHistorySimple) +
           ", \"transition_history_normal\": " + std::to_string(s.TransitionHistoryNormal) +
           "},\n" + indent + "\"set\": " + sets + ",\n" + indent +
           "\"sweep\": " + (header.Sweep.empty() ? std::string("null") : JsonString(header.Sweep)) +
           ",\n" + indent + "\"sweep_values\": " + values;
}

std::vector<TStudyProblem> StreamOverruns(const TStudyHeader& header,
                                          const std::vector<TPointResult>& points) {
    std::vector<TStudyProblem> problems;
    for (std::size_t p = 0; p < points.size(); ++p)
        for (const TRunFigures& row : points[p].Rows)
            if (row.Draws > StreamLength(header))
                problems.push_back({p, &row});
    return problems;
}

std::vector<TStudyProblem> EarlyStops(const std::vector<TPointResult>& points) {
    std::vector<TStudyProblem> problems;
    for (std::size_t p = 0; p < points.size(); ++p)
        for (const TRunFigures& row : points[p].Rows)
            if (row.Stop != rsNone)
                problems.push_back({p, &row});
    return problems;
}

std::string StudyJson(const TStudyHeader& header, const std::vector<TPointResult>& points,
                      bool perReplication) {
    const auto overruns = StreamOverruns(header, points);
    const auto stops = EarlyStops(points);
    std::string json = "{\n" + StudyHeaderJson(header, "  ") + ",\n  \"points\": [\n";
    for (std::size_t p = 0; p < points.size(); ++p) {
        const std::vector<TRunFigures>& rows = points[p].Rows;
        json += "    {\n";
        json += "      \"value\": " + PointValue(header, p) + ",\n";
        json += "      \"replications\": " + std::to_string(rows.size()) + ",\n";
        json += std::string("      \"stopped\": \"") + StudyStopName(points[p].Stop) + "\",\n";
        json += "      \"early_stops\": " + ProblemList(stops, p, false) + ",\n";
        json += "      \"stream_overruns\": " + ProblemList(overruns, p, true) + ",\n";
        json += "      \"vertices\": " + SummaryList(header, rows, true, "      ") + ",\n";
        json += "      \"transitions\": " + SummaryList(header, rows, false, "      ");
        if (perReplication) {
            json += ",\n      \"per_replication\": [\n";
            for (std::size_t i = 0; i < rows.size(); ++i)
                json +=
                    "        " + ReplicationRowJson(rows[i]) + (i + 1 < rows.size() ? ",\n" : "\n");
            json += "      ]";
        }
        json += p + 1 < points.size() ? "\n    },\n" : "\n    }\n";
    }
    return json + "  ]\n}\n";
}

std::string StudyCsv(const TStudyHeader& header, const std::vector<TPointResult>& points,
                     bool perReplication) {
    std::string csv = kCsvColumns;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const std::vector<TRunFigures>& rows = points[p].Rows;
        const std::string value = CsvValue(header, p);
        for (const bool isVertex : {true, false}) {
            if (rows.empty())
                break;
            const auto specs = isVertex ? VertexFigureSpecs() : TransitionFigureSpecs();
            const auto& objects = isVertex ? rows.front().Vertices : rows.front().Transitions;
            for (std::size_t k = 0; k < objects.size(); ++k)
                for (std::size_t f = 0; f < specs.size(); ++f) {
                    const TSummary summary = SummarizeFigure(header, rows, isVertex, k, f);
                    csv += value + ",," + (isVertex ? "vertex" : "transition") + "," +
                           CsvField(objects[k].Name) + "," + specs[f].Key + "," +
                           std::to_string(summary.Count) + "," +
                           (summary.Count ? JsonReal(summary.Mean) : "") + "," +
                           (summary.Deviation ? JsonReal(*summary.Deviation) : "") + "," +
                           (summary.HalfWidth ? JsonReal(*summary.HalfWidth) : "") + "\n";
                }
        }
        if (perReplication)
            for (const TRunFigures& row : rows)
                csv += CsvReplicationRows(value, row);
    }
    return csv;
}

std::string ReplicationRowsText(const TStudyHeader& header, const std::vector<TPointResult>& points,
                                TOutputFormat format) {
    std::string text = format == ofCsv ? kCsvColumns : "";
    for (std::size_t p = 0; p < points.size(); ++p)
        for (const TRunFigures& row : points[p].Rows)
            text += format == ofCsv ? CsvReplicationRows(CsvValue(header, p), row)
                                    : ReplicationRowJson(row) + "\n";
    return text;
}

std::string PartialJson(const TStudyHeader& header, const TShard& shard,
                        const std::vector<TPointResult>& points) {
    std::string json = "{\n  \"kvl_sim_partial\": 1,\n  \"study\": {\n" +
                       StudyHeaderJson(header, "    ") +
                       "\n  },\n  \"shard\": {\"number\": " + std::to_string(shard.Number) +
                       ", \"count\": " + std::to_string(shard.Count) + "},\n  \"rows\": [";
    bool first = true;
    for (std::size_t p = 0; p < points.size(); ++p)
        for (const TRunFigures& row : points[p].Rows) {
            json += std::string(first ? "\n" : ",\n") + "    {\"point\": " + std::to_string(p) +
                    ", \"row\": " + ReplicationRowJson(row) + "}";
            first = false;
        }
    return json + (first ? "]\n}\n" : "\n  ]\n}\n");
}
