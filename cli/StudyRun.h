// Carrying out a study: replications in threads, each with an engine of its own, collected in
// the order of their numbers so that the results do not depend on the number of threads.
#pragma once

#include "Study.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

enum TStudyStop : std::uint8_t {
    ssReplications = 0,    // the replications asked for have run
    ssPrecision = 1,       // every target reached the precision
    ssMaxReplications = 2, // the most replications ran without reaching the precision
};

struct TPointResult {
    std::vector<TRunFigures> Rows; // by replication number
    TStudyStop Stop = ssReplications;
};

// Which replications to run: all, those of one shard, or one alone.
struct TStudySelection {
    std::optional<TShard> Shard;
    std::optional<std::uint64_t> Replication;
};

// The progress of a study run in the background, and the way to give it up. Total is the number
// of replications known to be run (under a precision it grows batch by batch); Done counts
// those finished. Raising Cancel stops every replication within a fraction of a second.
struct TStudyControl {
    std::atomic<std::uint64_t> Done{0};
    std::atomic<std::uint64_t> Total{0};
    std::atomic<bool> Cancel{false};
};

// Runs the study on `jobs` threads (at least one). Under a precision each point adds
// replications until the targets reach it; otherwise every selected replication of every point
// runs. Throws TEngineError when a replication cannot run, and TRunCancelled when `control`
// (optional) is cancelled before the study ends; its results are then dropped.
std::vector<TPointResult> RunStudy(const TStudy& study, const TStudySelection& selection,
                                   unsigned jobs, TStudyControl* control = nullptr);

// Whether the first `count` rows reach the precision on every target.
bool ReachesPrecision(const TStudy& study, const std::vector<TRunFigures>& rows, std::size_t count);

const char* StudyStopName(TStudyStop stop);
