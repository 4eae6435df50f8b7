// `kvl-sim merge`: the partial results of the shards of one study, read back and put together
// into exactly what the study run whole gives.
#pragma once

#include "StudyRun.h"

#include <string>
#include <vector>

struct TMergedStudy {
    TStudyHeader Header;
    std::vector<TPointResult> Points;
};

// Reads the partial results. Throws TEngineError naming the file for one that cannot be read
// or is not a partial result, for parts of different studies (another net, other settings or
// another seed), and for a shard or a replication that is missing or comes twice.
TMergedStudy MergePartials(const std::vector<std::string>& paths);
