#include "Study.h"

#include "EngineError.h"
#include "EngineSettings.h"
#include "Formula.h"
#include "NetFile.h"
#include "NetFileReader.h"
#include "PnmlImport.h"
#include "Random.h"
#include "Settings.h"
#include "SimRun.h"
#include "SimulationStep.h"
#include "StudyStreams.h"
#include "TextCodec.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string_view>

#include <unistd.h>

namespace {

void ApplyRunSettings(TEngine& engine, const TRunSettings& settings, double warmUp) {
    engine.ConflictCheck = settings.ConflictCheck;
    engine.DoVertexHistorySimple = settings.DoVertexHistorySimple;
    engine.VertexHistoryNormal = settings.VertexHistoryNormal;
    engine.DoTransitionHistorySimple = settings.DoTransitionHistorySimple;
    engine.TransitionHistoryNormal = settings.TransitionHistoryNormal;
    // Compaction keeps the statistics from the warm-up time exact when it knows that time.
    engine.WarmUpInterval = warmUp;
}

TRunSettings ReadRunSettings(const TSimOptions& options) {
    auto engine = std::make_unique<TEngine>();
    InitEngine(*engine);
    engine->ShowMessage = [](const std::string& message) { std::cerr << message << '\n'; };
    if (!options.SettingsFile.empty()) {
        // The options the editor would run with; a named file that cannot be read is an error,
        // not a silent fall-back to the defaults.
        const std::filesystem::path settings = options.SettingsFile;
        std::error_code error;
        if (!std::filesystem::is_regular_file(settings, error) ||
            access(settings.c_str(), R_OK) != 0)
            throw TEngineError("Не вдається прочитати файл параметрів \"" + options.SettingsFile +
                               "\"");
        if (!LoadSettings(*engine, settings))
            throw TEngineError("Не вдається прочитати файл параметрів \"" + options.SettingsFile +
                               "\"");
    }
    return EngineRunSettings(*engine);
}

// Every change of a point: the --set ones, then the point's sweep value.
std::vector<TAssignment> PointAssignments(const TStudy& study, std::size_t point) {
    std::vector<TAssignment> assignments = study.Sets;
    if (point < study.Sweep.size())
        assignments.push_back(study.Sweep[point]);
    return assignments;
}

void ApplyAll(TEngine& engine, const std::vector<TAssignment>& assignments) {
    for (const TAssignment& assignment : assignments)
        ApplyAssignment(engine, assignment);
}

void CheckFormulasOf(const TEngine& engine) {
    if (const TFormulaCheck check = CheckFormulas(engine.Net); !check.Valid)
        throw TEngineError(FormulaRefusalMessage(*engine.Net.Connections[check.Position]));
}

// "NAME.STATISTIC" against the net's names and the figures of the object's kind.
TTarget ResolveTarget(const TEngine& engine, const std::string& text) {
    const auto point = text.rfind('.');
    if (point == std::string::npos)
        throw TEngineError("--target «" + text +
                           "»: очікується НАЗВА.СТАТИСТИКА, наприклад "
                           "Черга.mean");
    const std::string name = Utf8ToWin1251(text.substr(0, point));
    const std::string statistic = text.substr(point + 1);
    auto findFigure = [&](std::span<const TFigureSpec> specs) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < specs.size(); ++i)
            if (statistic == specs[i].Key)
                return i;
        return std::nullopt;
    };
    // A statistic of the window exists only for a monitored object, so it could never reach
    // a precision otherwise.
    auto checked = [&](TTarget target, std::span<const TFigureSpec> specs, bool monitored) {
        if (specs[target.Figure].Window && !monitored)
            throw TEngineError("--target «" + text + "»: об'єкт «" + text.substr(0, point) +
                               "» не під моніторингом, тож статистики «" + statistic +
                               "» у нього немає; увімкніть у сітці «Вести моніторинг»");
        return target;
    };
    const TEngineNet& net = engine.Net;
    for (std::size_t i = 0; i < net.Vertices.size(); ++i)
        if (net.Vertices[i]->Name == name) {
            if (const auto figure = findFigure(VertexFigureSpecs()))
                return checked({true, i, *figure}, VertexFigureSpecs(),
                               net.Vertices[i]->IsMonitoring);
            throw TEngineError("--target «" + text + "»: у вершини немає статистики «" + statistic +
                               "»");
        }
    for (std::size_t i = 0; i < net.Transitions.size(); ++i)
        if (net.Transitions[i]->Name == name) {
            if (const auto figure = findFigure(TransitionFigureSpecs()))
                return checked({false, i, *figure}, TransitionFigureSpecs(),
                               net.Transitions[i]->IsMonitoring);
            throw TEngineError("--target «" + text + "»: у переходу немає статистики «" +
                               statistic + "»");
        }
    throw TEngineError("--target «" + text + "»: у сітці немає вершини чи переходу з назвою «" +
                       text.substr(0, point) + "»");
}

// Without --target: the mean of every monitored vertex and transition.
std::vector<TTarget> DefaultTargets(const TEngine& engine) {
    std::vector<TTarget> targets;
    const TEngineNet& net = engine.Net;
    auto meanOf = [](std::span<const TFigureSpec> specs) {
        std::size_t i = 0;
        while (std::string_view(specs[i].Key) != "mean")
            ++i;
        return i;
    };
    const std::size_t vertexMean = meanOf(VertexFigureSpecs());
    const std::size_t transitionMean = meanOf(TransitionFigureSpecs());
    for (std::size_t i = 0; i < net.Vertices.size(); ++i)
        if (net.Vertices[i]->IsMonitoring)
            targets.push_back({true, i, vertexMean});
    for (std::size_t i = 0; i < net.Transitions.size(); ++i)
        if (net.Transitions[i]->IsMonitoring)
            targets.push_back({false, i, transitionMean});
    return targets;
}

} // namespace

std::uint64_t StreamLength(const TStudyHeader& header) {
    return header.Spacing;
}

std::uint32_t ReplicationSeed(const TStudyHeader& header, std::uint64_t index) {
    return AdvancedSeed(header.Seed, index * StreamLength(header));
}

std::size_t PointCount(const TStudyHeader& header) {
    return header.SweepValues.empty() ? 1 : header.SweepValues.size();
}

std::string BytesHash(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

TRunSettings EngineRunSettings(const TEngine& engine) {
    return {engine.ConflictCheck, engine.DoVertexHistorySimple, engine.VertexHistoryNormal,
            engine.DoTransitionHistorySimple, engine.TransitionHistoryNormal};
}

TStudy PrepareStudy(const TSimOptions& options) {
    TRunSettings settings = ReadRunSettings(options);
    const std::filesystem::path path = options.NetFile;
    // A PNML file is read into the program's own net text, which each replication loads.
    TEngineGraphOptions visual;
    ApplyGraphDefaults(visual, TEngineDefaults{});
    std::string bytes =
        NetFileBytes(path, &visual, [](const std::string& note) { std::cerr << note << '\n'; });
    return PrepareStudy(std::move(bytes), path, settings, options);
}

TStudy PrepareStudy(std::string netBytes, const std::filesystem::path& netPath,
                    const TRunSettings& settings, const TSimOptions& options) {
    TStudy study;
    TStudyHeader& header = study.Header;
    const TStudyOptions& studyOptions = options.Study;
    header.Settings = settings;
    if (options.ConflictCheck)
        header.Settings.ConflictCheck = *options.ConflictCheck;
    header.Interval = options.Interval < 0 ? 0 : options.Interval;
    header.WarmUp = options.WarmUp;
    header.Confidence = studyOptions.Confidence;
    header.Precision = studyOptions.Precision;
    header.Streams =
        studyOptions.Precision ? *studyOptions.MaxReplications : studyOptions.Replications;
    header.Spacing = StreamSpacing(header.Streams);
    header.Replications = studyOptions.Replications;
    if (studyOptions.Precision && !studyOptions.ReplicationsGiven)
        header.Replications = std::min<std::uint64_t>(5, header.Streams);
    header.Targets = studyOptions.Targets;
    if (options.Seed) {
        header.Seed = *options.Seed;
    } else {
        TRandom clock;
        SeedFromClock(clock);
        header.Seed = clock.Seed;
    }

    for (const std::string& text : options.Sets) {
        study.Sets.push_back(ParseAssignment(text));
        header.Sets.push_back(text);
    }
    if (!studyOptions.Sweep.empty()) {
        study.Sweep = SweepAssignments(studyOptions.Sweep);
        header.Sweep = study.Sweep.front().Parameter.Text;
        for (const TAssignment& value : study.Sweep)
            header.SweepValues.push_back(AssignmentValueJson(value));
    }

    study.NetPath = netPath;
    study.NetBytes = std::move(netBytes);
    header.Net = study.NetPath.filename().string();
    header.NetHash = BytesHash(study.NetBytes);

    // The net as the replications will see it, once, so that every mistake is told before
    // anything runs, and a file cut short is reported once rather than by every replication.
    auto engine = std::make_unique<TEngine>();
    InitEngine(*engine);
    engine->ShowMessage = [](const std::string& message) { std::cerr << message << '\n'; };
    LoadNetText(*engine, study.NetBytes, study.NetPath);
    for (std::size_t point = 0; point < PointCount(header); ++point) {
        try {
            ApplyAll(*engine, PointAssignments(study, point));
            CheckFormulasOf(*engine);
        } catch (const TEngineError& error) {
            if (point >= study.Sweep.size())
                throw;
            throw TEngineError("--sweep, значення " + study.Sweep[point].Parameter.Text + "=" +
                               study.Sweep[point].Value + ": " + error.what());
        }
    }
    if (studyOptions.Precision) {
        for (const std::string& text : studyOptions.Targets)
            study.Targets.push_back(ResolveTarget(*engine, text));
        if (studyOptions.Targets.empty())
            study.Targets = DefaultTargets(*engine);
        if (study.Targets.empty())
            throw TEngineError("--precision: у сітці немає об'єктів моніторингу; задайте "
                               "статистики через --target НАЗВА.СТАТИСТИКА");
    }
    return study;
}

TRunFigures RunReplication(const TStudy& study, std::size_t point, std::uint64_t index,
                           const std::atomic<bool>* cancel,
                           const std::function<void(const TEngine&)>& finished) {
    const TStudyHeader& header = study.Header;
    auto engine = std::make_unique<TEngine>();
    InitEngine(*engine);
    ApplyRunSettings(*engine, header.Settings, header.WarmUp);
    TRunFigures figures;
    figures.Replication = index;
    figures.Seed = ReplicationSeed(header, index);
    engine->Random.Seed = figures.Seed;
    LoadNetText(*engine, study.NetBytes, study.NetPath);
    ApplyAll(*engine, PointAssignments(study, point));
    CheckFormulasOf(*engine);
    engine->ShowMessage = [&](const std::string& message) { figures.Messages.push_back(message); };
    engine->Random.Draws = 0;
    const auto start = std::chrono::steady_clock::now();
    figures.Stop = RunWholeInterval(*engine, header.Interval, SimulationStep, cancel);
    figures.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.Draws = engine->Random.Draws;
    figures.Events = engine->Net.EventCount;
    TakeFigures(*engine, header.WarmUp, figures);
    if (finished)
        finished(*engine);
    return figures;
}
