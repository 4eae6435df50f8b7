#include "StudyRun.h"

#include "SimRun.h"
#include "StudySummary.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace {

struct TJob {
    std::size_t Point = 0;
    std::uint64_t Replication = 0;
};

// Runs the jobs on up to `jobs` threads; the results come in the order of the jobs.
std::vector<TRunFigures> RunJobs(const TStudy& study, const std::vector<TJob>& list, unsigned jobs,
                                 TStudyControl* control) {
    const std::atomic<bool>* cancel = control ? &control->Cancel : nullptr;
    if (control)
        control->Total += list.size();
    std::vector<TRunFigures> results(list.size());
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= list.size())
                return;
            try {
                if (cancel && cancel->load())
                    throw TRunCancelled();
                results[i] = RunReplication(study, list[i].Point, list[i].Replication, cancel);
                if (control)
                    ++control->Done;
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                next = list.size(); // the others stop after their current replication
            }
        }
    };
    const unsigned threads =
        static_cast<unsigned>(std::min<std::size_t>(std::max(jobs, 1u), list.size()));
    if (threads <= 1) {
        work();
    } else {
        std::vector<std::thread> pool;
        for (unsigned t = 0; t < threads; ++t)
            pool.emplace_back(work);
        for (std::thread& thread : pool)
            thread.join();
    }
    if (failure)
        std::rethrow_exception(failure);
    return results;
}

std::vector<TPointResult> RunFixed(const TStudy& study, const TStudySelection& selection,
                                   unsigned jobs, TStudyControl* control) {
    const TStudyHeader& header = study.Header;
    const std::size_t points = PointCount(header);
    std::vector<TJob> list;
    for (std::size_t point = 0; point < points; ++point) {
        if (selection.Replication) {
            list.push_back({point, *selection.Replication});
            continue;
        }
        for (std::uint64_t i = 0; i < header.Replications; ++i) {
            // Shards take the replications of all points in turn, so that each gets its share
            // of every point.
            const std::uint64_t flat = point * header.Replications + i;
            if (selection.Shard && flat % selection.Shard->Count != selection.Shard->Number - 1)
                continue;
            list.push_back({point, i});
        }
    }
    std::vector<TRunFigures> rows = RunJobs(study, list, jobs, control);
    std::vector<TPointResult> results(points);
    for (std::size_t i = 0; i < list.size(); ++i)
        results[list[i].Point].Rows.push_back(std::move(rows[i]));
    return results;
}

// Adds replications to the point until the first `n` reach the precision (n at least the
// first replications), or the most replications have run. Replications run in batches of one a
// thread, and the precision is judged after each replication in order, so the result is the
// same for any number of threads.
TPointResult RunToPrecision(const TStudy& study, std::size_t point, unsigned jobs,
                            TStudyControl* control) {
    const TStudyHeader& header = study.Header;
    TPointResult result;
    std::vector<TRunFigures>& rows = result.Rows;
    std::size_t judged = 0;
    while (true) {
        const std::uint64_t want =
            rows.empty()
                ? header.Replications
                : std::min<std::uint64_t>(rows.size() + std::max(jobs, 1u), header.Streams);
        std::vector<TJob> list;
        for (std::uint64_t i = rows.size(); i < want; ++i)
            list.push_back({point, i});
        for (TRunFigures& row : RunJobs(study, list, jobs, control))
            rows.push_back(std::move(row));
        for (std::size_t n = std::max<std::size_t>(judged + 1, header.Replications);
             n <= rows.size(); ++n) {
            if (ReachesPrecision(study, rows, n)) {
                rows.resize(n);
                result.Stop = ssPrecision;
                return result;
            }
        }
        judged = rows.size();
        if (rows.size() >= header.Streams) {
            result.Stop = ssMaxReplications;
            return result;
        }
    }
}

} // namespace

bool ReachesPrecision(const TStudy& study, const std::vector<TRunFigures>& rows,
                      std::size_t count) {
    for (const TTarget& target : study.Targets) {
        std::vector<double> values;
        for (std::size_t i = 0; i < count; ++i) {
            const auto& objects = target.IsVertex ? rows[i].Vertices : rows[i].Transitions;
            if (const auto& value = objects[target.Object].Values[target.Figure])
                values.push_back(*value);
        }
        const auto relative = RelativeHalfWidth(Summarize(values, study.Header.Confidence));
        if (!relative || !(*relative <= *study.Header.Precision))
            return false;
    }
    return true;
}

std::vector<TPointResult> RunStudy(const TStudy& study, const TStudySelection& selection,
                                   unsigned jobs, TStudyControl* control) {
    if (!study.Header.Precision || selection.Replication)
        return RunFixed(study, selection, jobs, control);
    std::vector<TPointResult> results;
    for (std::size_t point = 0; point < PointCount(study.Header); ++point)
        results.push_back(RunToPrecision(study, point, jobs, control));
    return results;
}

const char* StudyStopName(TStudyStop stop) {
    switch (stop) {
    case ssPrecision:
        return "precision";
    case ssMaxReplications:
        return "max_replications";
    default:
        return "replications";
    }
}
