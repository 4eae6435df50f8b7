#include "StudyCommand.h"

#include "EngineError.h"
#include "HistoryCsv.h"
#include "MessageText.h"
#include "SimReport.h"
#include "StudyMerge.h"
#include "StudyReport.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <optional>
#include <thread>

namespace {

// The exit status of a run that stopped this way.
int StopStatus(TRunStop stop) {
    switch (stop) {
    case rsOverflow:
        return 3;
    case rsEndlessInstant:
        return 4;
    default:
        return 0;
    }
}

// Writes the results and tells when they could not be written (a full disk, a closed pipe), so
// that a script or a cluster's scheduler does not take a lost result for a good one.
int Emit(const std::string& text, int status) {
    std::cout << text;
    std::cout.flush();
    if (std::cout)
        return status;
    const int error = errno;
    std::cerr << "Не вдалося записати результати в стандартний вивід"
              << (error ? ": " + SystemErrorText(error) : std::string()) << '\n';
    return 1;
}

const char* const kOutOfMemory =
    "Забракло пам'яті: зменште кількість реплікацій, значень ряду або інтервал";

// Runs `work`, the part of a command that may be refused: a refusal prints its message and
// gives status 2, a lack of memory status 1; nothing when the work went through.
template <typename Work> std::optional<int> Refused(Work&& work) {
    try {
        work();
        return std::nullopt;
    } catch (const TEngineError& error) {
        std::cerr << error.what() << '\n';
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << kOutOfMemory << '\n';
        return 1;
    }
}

void PrintStats(std::uint64_t events, double seconds) {
    std::fprintf(stderr, "events %llu wall_s %.3f events_per_s %.0f\n",
                 static_cast<unsigned long long>(events), seconds,
                 seconds > 0 ? events / seconds : 0.0);
}

std::string Where(const TStudyHeader& header, std::size_t point, const TRunFigures& row) {
    std::string where = "Реплікація " + std::to_string(row.Replication);
    if (!header.Sweep.empty())
        where = header.Sweep + " = " + header.SweepValues[point] + ", " + "реплікація " +
                std::to_string(row.Replication);
    return where;
}

// What the engines told during the runs, and the streams that ran into the next, in order.
void PrintNotices(const TStudyHeader& header, const std::vector<TPointResult>& points) {
    for (std::size_t p = 0; p < points.size(); ++p)
        for (const TRunFigures& row : points[p].Rows)
            for (const std::string& message : row.Messages)
                std::cerr << Where(header, p, row) << ": " << message << '\n';
    for (const TStudyProblem& overrun : StreamOverruns(header, points))
        std::cerr << Where(header, overrun.Point, *overrun.Row) << " використала "
                  << overrun.Row->Draws << " випадкових чисел, більше за свою частку "
                  << StreamLength(header)
                  << ": її потік зайшов у потік наступної реплікації, тож реплікації вже не "
                     "зовсім незалежні. Зменште кількість реплікацій або інтервал.\n";
    for (std::size_t p = 0; p < points.size(); ++p)
        if (points[p].Stop == ssMaxReplications)
            std::cerr << (header.Sweep.empty()
                              ? std::string()
                              : header.Sweep + " = " + header.SweepValues[p] + ": ")
                      << "точності " << JsonReal(*header.Precision)
                      << " не досягнуто; виконано реплікацій: " << points[p].Rows.size() << '\n';
}

} // namespace

int RunSingleCommand(const TSimOptions& options) {
    TRunFigures figures;
    std::string history;
    const auto keepHistory = [&](const TEngine& engine) {
        if (!options.HistoryDir.empty())
            history = HistoryCsv(engine);
    };
    if (const auto status = Refused(
            [&] { figures = RunReplication(PrepareStudy(options), 0, 0, nullptr, keepHistory); }))
        return *status;
    for (const std::string& message : figures.Messages)
        std::cerr << message << '\n';
    if (options.Stats)
        PrintStats(figures.Events, figures.Seconds);
    const int status = Emit(SimReportJson(figures), StopStatus(figures.Stop));
    // The results are out either way; a history that could not be written fails the command.
    if (!options.HistoryDir.empty() && !WriteHistoryFile(options.HistoryDir, history))
        return 1;
    return status;
}

int RunStudyCommand(const TSimOptions& options) {
    const TStudyOptions& studyOptions = options.Study;
    TStudy study;
    std::vector<TPointResult> points;
    const auto start = std::chrono::steady_clock::now();
    const auto refused = Refused([&] {
        study = PrepareStudy(options);
        const unsigned jobs = studyOptions.Jobs != 0
                                  ? studyOptions.Jobs
                                  : std::max(1u, std::thread::hardware_concurrency());
        points = RunStudy(study, {studyOptions.Shard, studyOptions.Replication}, jobs);
    });
    if (refused)
        return *refused;
    const TStudyHeader& header = study.Header;
    PrintNotices(header, points);
    if (options.Stats) {
        std::uint64_t events = 0;
        for (const TPointResult& point : points)
            for (const TRunFigures& row : point.Rows)
                events += row.Events;
        PrintStats(events,
                   std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::string text;
    if (studyOptions.Replication)
        text = ReplicationRowsText(header, points, studyOptions.Format);
    else if (studyOptions.Shard)
        text = PartialJson(header, *studyOptions.Shard, points);
    else if (studyOptions.Format == ofCsv)
        text = StudyCsv(header, points, studyOptions.PerReplication);
    else
        text = StudyJson(header, points, studyOptions.PerReplication);
    const auto stops = EarlyStops(points);
    return Emit(text, stops.empty() ? 0 : StopStatus(stops.front().Row->Stop));
}

int RunMergeCommand(const TMergeOptions& options) {
    TMergedStudy merged;
    if (const auto status = Refused([&] { merged = MergePartials(options.Parts); }))
        return *status;
    PrintNotices(merged.Header, merged.Points);
    // The parts carry no messages of the engines; how each early stop ended is known.
    const auto stops = EarlyStops(merged.Points);
    for (const TStudyProblem& stop : stops)
        std::cerr << Where(merged.Header, stop.Point, *stop.Row) << ": "
                  << (stop.Row->Stop == rsOverflow
                          ? "зупинилася до кінця інтервалу: переповнився буфер запусків"
                          : "зупинилася до кінця інтервалу: переходи спрацьовували без кінця "
                            "в одну мить модельного часу")
                  << '\n';
    return Emit(options.Format == ofCsv
                    ? StudyCsv(merged.Header, merged.Points, options.PerReplication)
                    : StudyJson(merged.Header, merged.Points, options.PerReplication),
                stops.empty() ? 0 : StopStatus(stops.front().Row->Stop));
}
