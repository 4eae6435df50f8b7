// Carrying out a study: replications in threads, each with an engine of its own, collected in
// the order of their numbers so that the results do not depend on the number of threads.
#pragma once

#include "Study.h"

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

// Runs the study on `jobs` threads (at least one). Under a precision each point adds
// replications until the targets reach it; otherwise every selected replication of every point
// runs. Throws TEngineError when a replication cannot run.
std::vector<TPointResult> RunStudy(const TStudy& study, const TStudySelection& selection,
                                   unsigned jobs);

// Whether the first `count` rows reach the precision on every target.
bool ReachesPrecision(const TStudy& study, const std::vector<TRunFigures>& rows, std::size_t count);

const char* StudyStopName(TStudyStop stop);
