// A study: independent replications of one net, each from its own stream of the generator,
// for one or several values of a parameter. What decides the results is in TStudyHeader, which
// the output states and a partial result of a cluster job carries to the merge.
#pragma once

#include "RunFigures.h"
#include "SimOptions.h"
#include "StudyParameters.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The settings a run depends on, taken from the settings file and the command line.
struct TRunSettings {
    bool ConflictCheck = true;
    bool DoVertexHistorySimple = true;
    std::int32_t VertexHistoryNormal = 2000;
    bool DoTransitionHistorySimple = true;
    std::int32_t TransitionHistoryNormal = 2000;
};

struct TStudyHeader {
    std::string Net;     // the file's name without its folder (UTF-8)
    std::string NetHash; // of the file's bytes, in hex
    double Interval = 1000;
    double WarmUp = 0;
    std::uint32_t Seed = 0;
    std::uint64_t Replications = 1; // the first replications under a precision
    // The generator's cycle is split into this many equal streams: the replications, or the
    // most replications under a precision.
    std::uint64_t Streams = 1;
    std::uint64_t Spacing = 0; // draws between the starts of two streams: StreamSpacing(Streams)
    double Confidence = 0.95;
    std::optional<double> Precision;
    std::vector<std::string> Targets; // "NAME.STATISTIC" as typed; empty: the default ones
    TRunSettings Settings;
    std::vector<std::string> Sets;        // "NAME.FIELD=VALUE" as typed
    std::string Sweep;                    // the swept "NAME.FIELD"; empty: no sweep
    std::vector<std::string> SweepValues; // the values as JSON
};

// A figure the precision is judged on: the object's position among its kind and the figure's
// position among the kind's figures.
struct TTarget {
    bool IsVertex = true;
    std::size_t Object = 0;
    std::size_t Figure = 0;
};

struct TStudy {
    TStudyHeader Header;
    std::filesystem::path NetPath;
    std::string NetBytes;
    std::vector<TAssignment> Sets;
    std::vector<TAssignment> Sweep; // one point of the study for each; none: a single point
    std::vector<TTarget> Targets;
};

// Draws each replication may take before its stream runs into the next one's.
std::uint64_t StreamLength(const TStudyHeader& header);
// The first seed of replication `index`.
std::uint32_t ReplicationSeed(const TStudyHeader& header, std::uint64_t index);
std::size_t PointCount(const TStudyHeader& header);

// Reads the settings file and the net, and checks every change, sweep value, formula and
// target against the net. Throws TEngineError with the message to print (exit status 2). The
// seed comes from the clock when the options give none. Warnings of loading go to stderr.
TStudy PrepareStudy(const TSimOptions& options);
// The same for the bytes of a net file already in hand (the editor's net written as a save
// writes it), named `netPath` in messages and in the results, run with `settings`. The options'
// net file and settings file are not read; their conflict switch, when given, still applies.
TStudy PrepareStudy(std::string netBytes, const std::filesystem::path& netPath,
                    const TRunSettings& settings, const TSimOptions& options);
// The settings an engine runs with: what the editor's own runs use.
TRunSettings EngineRunSettings(const TEngine& engine);

// Runs replication `index` of point `point` from a fresh engine, as a single run would from the
// replication's seed. Throws TEngineError when the net cannot be loaded or run, and
// TRunCancelled soon after `cancel` (when given) becomes true. `finished`, when given, sees the
// engine after the run (a single run's --history reads its histories there).
TRunFigures RunReplication(const TStudy& study, std::size_t point, std::uint64_t index,
                           const std::atomic<bool>* cancel = nullptr,
                           const std::function<void(const TEngine&)>& finished = {});

// 64-bit FNV-1a of the bytes in hex: tells partial results of different nets apart.
std::string BytesHash(const std::string& bytes);
