// The command line of the batch simulator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TSimOptions {
    std::string NetFile;
    double Interval = 1000;
    std::optional<std::uint32_t> Seed; // from the clock when absent
    double WarmUp = 0;
    std::optional<bool> ConflictCheck; // from the settings file (on by default) when absent
    std::string SettingsFile;          // a KVLConfig.ini to run with; none when empty
    bool Stats = false;                // the event count and rate of the run on standard error
};

// Nothing when the arguments do not fit the usage.
std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& arguments);

extern const char* const kSimUsage;
