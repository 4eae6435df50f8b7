// The command line of the batch simulator: one run, or a study of replications.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The most replications of a study: the figures of every replication are kept until the end,
// and a million streams still leave each 4293 draws.
constexpr std::uint64_t MostReplications = 1000000;

enum TOutputFormat : std::uint8_t {
    ofJson = 0, // one JSON object
    ofCsv = 1,  // one row per sweep value, object and statistic
};

// Shard `Number` of `Count`, from 1: the replications a job of a cluster runs.
struct TShard {
    std::uint64_t Number = 1;
    std::uint64_t Count = 1;
};

// The options of a study of independent replications.
struct TStudyOptions {
    bool Requested = false; // some study option was given: the output is a study's
    std::uint64_t Replications = 1;
    bool ReplicationsGiven = false;
    std::optional<std::uint64_t> Replication; // rerun this replication alone
    double Confidence = 0.95;
    unsigned Jobs = 0; // threads; 0: one for every core
    bool PerReplication = false;
    std::string Sweep;               // "NAME.FIELD=VALUES"; empty: no sweep
    std::optional<double> Precision; // sequential stopping when set
    std::optional<std::uint64_t> MaxReplications;
    std::vector<std::string> Targets; // "NAME.STATISTIC" the precision applies to
    std::optional<TShard> Shard;
    TOutputFormat Format = ofJson;
};

struct TSimOptions {
    std::string NetFile;
    double Interval = 1000;
    std::optional<std::uint32_t> Seed; // from the clock when absent
    double WarmUp = 0;
    std::optional<bool> ConflictCheck; // from the settings file (on by default) when absent
    std::string SettingsFile;          // a KVLConfig.ini to run with; none when empty
    bool Stats = false;                // the event count and rate of the run on standard error
    std::vector<std::string> Sets;     // "NAME.FIELD=VALUE" changes made before the run
    std::string HistoryDir;            // a folder for history.csv after a single run; none: empty
    TStudyOptions Study;
};

// Nothing when the arguments do not fit the usage. `error` then holds the reason when a value
// is out of its range (the usage alone tells the rest), and is empty otherwise.
std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& arguments,
                                           std::string& error);
std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& arguments);

// `kvl-sim merge [--format csv] [--per-replication] PART...`: the partial results to combine.
struct TMergeOptions {
    std::vector<std::string> Parts;
    TOutputFormat Format = ofJson;
    bool PerReplication = false;
};
// Nothing when the arguments do not fit; `error` then says why.
std::optional<TMergeOptions> ParseMergeOptions(const std::vector<std::string>& arguments,
                                               std::string& error);
std::optional<TMergeOptions> ParseMergeOptions(const std::vector<std::string>& arguments);

extern const char* const kSimUsage;
