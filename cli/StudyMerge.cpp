#include "StudyMerge.h"

#include "EngineError.h"
#include "MessageText.h"
#include "StudyStreams.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

using nlohmann::json;

// A field whose value a study never writes.
struct TBadField {};

json ReadJson(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int error = errno;
        throw TEngineError("Не вдалося відкрити файл «" + path + "»: " + SystemErrorText(error));
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    try {
        return json::parse(bytes.str());
    } catch (const json::exception&) {
        throw TEngineError("Файл «" + path + "» не є частковим результатом kvl-sim: це не JSON");
    }
}

// A whole number from 0 to `most`; nlohmann's own conversion would wrap a larger one or cut a
// fraction.
std::uint64_t Unsigned(const json& value, std::uint64_t most) {
    if (!value.is_number_unsigned() &&
        !(value.is_number_integer() && value.get<std::int64_t>() >= 0))
        throw TBadField{};
    const std::uint64_t number = value.get<std::uint64_t>();
    if (number > most)
        throw TBadField{};
    return number;
}

constexpr std::uint64_t kAnyCount = ~std::uint64_t{0};

// A sweep value as the study wrote it.
std::string ValueText(const json& value) {
    if (value.is_string())
        return JsonString(value.get<std::string>());
    if (value.is_number_float())
        return JsonReal(value.get<double>());
    return value.dump();
}

TStudyHeader HeaderOf(const json& study) {
    TStudyHeader header;
    header.Net = study.at("net").get<std::string>();
    header.NetHash = study.at("net_hash").get<std::string>();
    header.Interval = study.at("interval").get<double>();
    header.WarmUp = study.at("warmup").get<double>();
    header.Seed = static_cast<std::uint32_t>(Unsigned(study.at("seed"), 0xFFFFFFFFu));
    header.Replications = Unsigned(study.at("replications"), MostReplications);
    header.Streams = Unsigned(study.at("streams"), MostReplications);
    if (header.Streams < 1 || header.Streams > MostReplications)
        throw TBadField{};
    header.Spacing = StreamSpacing(header.Streams);
    header.Confidence = study.at("confidence").get<double>();
    if (!study.at("precision").is_null())
        header.Precision = study.at("precision").get<double>();
    header.Targets = study.at("targets").get<std::vector<std::string>>();
    const json& settings = study.at("settings");
    header.Settings = {settings.at("conflict").get<bool>(),
                       settings.at("vertex_history_simple").get<bool>(),
                       settings.at("vertex_history_normal").get<std::int32_t>(),
                       settings.at("transition_history_simple").get<bool>(),
                       settings.at("transition_history_normal").get<std::int32_t>()};
    header.Sets = study.at("set").get<std::vector<std::string>>();
    if (!study.at("sweep").is_null())
        header.Sweep = study.at("sweep").get<std::string>();
    for (const json& value : study.at("sweep_values"))
        header.SweepValues.push_back(ValueText(value));
    // What a study could never have written: a merge would otherwise print figures no study
    // gives, or fail on them.
    const bool replicationsFit =
        header.Replications >= 1 && (header.Precision ? header.Replications <= header.Streams
                                                      : header.Replications == header.Streams);
    if (!replicationsFit || !(header.Confidence > 0) || !((1 + header.Confidence) / 2 < 1))
        throw TBadField{};
    return header;
}

std::vector<TObjectFigures> ObjectsOf(const json& list, std::span<const TFigureSpec> specs) {
    std::vector<TObjectFigures> objects;
    for (const json& item : list) {
        TObjectFigures object{
            item.at("name").get<std::string>(), item.at("monitoring").get<bool>(), {}};
        for (const TFigureSpec& spec : specs) {
            const json& value = item.at(spec.Key);
            if (value.is_null()) {
                object.Values.emplace_back();
                continue;
            }
            // Counts are whole numbers that a double holds exactly.
            const double number = value.get<double>();
            if (spec.Kind == fkInteger &&
                (!value.is_number_integer() || std::fabs(number) > 9007199254740992.0))
                throw TBadField{};
            object.Values.push_back(number);
        }
        objects.push_back(std::move(object));
    }
    return objects;
}

TRunFigures RowOf(const json& row) {
    TRunFigures figures;
    figures.Replication = Unsigned(row.at("replication"), MostReplications);
    figures.Seed = static_cast<std::uint32_t>(Unsigned(row.at("seed"), 0xFFFFFFFFu));
    figures.Draws = Unsigned(row.at("draws"), kAnyCount);
    figures.ModelTime = row.at("model_time").get<double>();
    const auto stop = TryStopOfName(row.at("stopped").get<std::string>());
    if (!stop)
        throw TBadField{};
    figures.Stop = *stop;
    figures.Vertices = ObjectsOf(row.at("vertices"), VertexFigureSpecs());
    figures.Transitions = ObjectsOf(row.at("transitions"), TransitionFigureSpecs());
    return figures;
}

// The first field in which two studies differ, as the user would recognise it.
std::string Difference(const json& a, const json& b) {
    for (const char* key :
         {"net_hash", "net", "seed", "replications", "streams", "interval", "warmup", "confidence",
          "settings", "set", "sweep", "sweep_values", "precision", "targets"}) {
        if (a.value(key, json()) != b.value(key, json())) {
            if (std::string(key) == "net_hash")
                return "різні сітки (вміст файлів різниться)";
            if (std::string(key) == "seed")
                return "різні зерна (--seed)";
            if (std::string(key) == "settings")
                return "різні параметри запуску (конфлікти або історії)";
            return std::string("різниться «") + key + "»";
        }
    }
    return "різні параметри";
}

} // namespace

TMergedStudy MergePartials(const std::vector<std::string>& paths) {
    TMergedStudy merged;
    json firstStudy;
    std::string firstPath;
    std::uint64_t shardCount = 0;
    std::map<std::uint64_t, std::string> shards; // number -> file
    // (point, replication) -> its row
    std::map<std::pair<std::size_t, std::uint64_t>, TRunFigures> rows;
    for (const std::string& path : paths) {
        const json part = ReadJson(path);
        try {
            if (!part.is_object() || part.value("kvl_sim_partial", 0) != 1)
                throw TEngineError("Файл «" + path +
                                   "» не є частковим результатом kvl-sim (--shard K/N)");
            const json& study = part.at("study");
            if (firstPath.empty()) {
                merged.Header = HeaderOf(study);
                firstStudy = study;
                firstPath = path;
                if (merged.Header.Precision)
                    throw TEngineError("Файл «" + path +
                                       "»: дослід з --precision не ділять на "
                                       "частини");
            } else if (study != firstStudy) {
                throw TEngineError("Частини «" + firstPath + "» і «" + path +
                                   "» належать різним дослідам: " + Difference(firstStudy, study));
            }
            const std::uint64_t number = Unsigned(part.at("shard").at("number"), kAnyCount);
            const std::uint64_t count = Unsigned(part.at("shard").at("count"), kAnyCount);
            if (shardCount == 0)
                shardCount = count;
            if (count != shardCount)
                throw TEngineError("Частини «" + firstPath + "» і «" + path +
                                   "» поділено на різну кількість частин (--shard K/N)");
            if (number < 1 || number > count)
                throw TEngineError("Файл «" + path + "»: неправильний номер частини");
            if (!shards.emplace(number, path).second)
                throw TEngineError("Частину " + std::to_string(number) + "/" +
                                   std::to_string(count) + " подано двічі: «" + shards[number] +
                                   "» і «" + path + "»");
            for (const json& item : part.at("rows")) {
                const std::size_t point = Unsigned(item.at("point"), kAnyCount);
                TRunFigures row = RowOf(item.at("row"));
                // A row is the replication its shard runs, from the first seed of its stream.
                const std::uint64_t flat = point * merged.Header.Replications + row.Replication;
                if (row.Seed != ReplicationSeed(merged.Header, row.Replication) ||
                    flat % count != number - 1)
                    throw TEngineError("Файл «" + path + "»: реплікація " +
                                       std::to_string(row.Replication) +
                                       " не належить цій частині досліду; файл змінено");
                const auto key = std::make_pair(point, row.Replication);
                if (point >= PointCount(merged.Header) ||
                    row.Replication >= merged.Header.Replications ||
                    !rows.emplace(key, std::move(row)).second)
                    throw TEngineError("Файл «" + path + "»: зайва або повторена реплікація " +
                                       std::to_string(key.second));
            }
        } catch (const json::exception&) {
            throw TEngineError("Файл «" + path +
                               "» не є частковим результатом kvl-sim: бракує полів або їх "
                               "значення неправильні");
        } catch (const TBadField&) {
            throw TEngineError("Файл «" + path +
                               "» не є частковим результатом kvl-sim: бракує полів або їх "
                               "значення неправильні");
        }
    }
    for (std::uint64_t number = 1; number <= shardCount; ++number)
        if (!shards.count(number))
            throw TEngineError("Бракує частини " + std::to_string(number) + "/" +
                               std::to_string(shardCount));
    const std::size_t points = PointCount(merged.Header);
    merged.Points.resize(points);
    for (std::size_t point = 0; point < points; ++point)
        for (std::uint64_t i = 0; i < merged.Header.Replications; ++i) {
            const auto found = rows.find({point, i});
            if (found == rows.end())
                throw TEngineError("Бракує реплікації " + std::to_string(i) +
                                   " у поданих частинах");
            merged.Points[point].Rows.push_back(std::move(found->second));
        }
    return merged;
}
