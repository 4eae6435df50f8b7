// What kvl-sim does for each form of its command line; each returns the exit status.
#pragma once

#include "SimOptions.h"

#include <string>
#include <vector>

// One run, printed as a single run's JSON.
int RunSingleCommand(const TSimOptions& options);
// A study of replications: its summary, a shard's partial result, or the rows of one
// replication rerun alone.
int RunStudyCommand(const TSimOptions& options);
// `kvl-sim merge`: the partial results put together.
int RunMergeCommand(const TMergeOptions& options);
