// kvl-sim: runs a net over an interval of model time without a window and prints the results as
// JSON. Exit status 0 after a complete run, 3 when a launch buffer overflowed, 4 when the net kept
// firing at one model time, 2 when the file cannot be read, a formula is invalid or the arguments
// are wrong.
#include "EngineError.h"
#include "Formula.h"
#include "NetFile.h"
#include "Random.h"
#include "RunControl.h"
#include "Settings.h"
#include "SimOptions.h"
#include "SimReport.h"
#include "SimRun.h"
#include "SimulationStep.h"

#include <chrono>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include <unistd.h>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, ""); // the same number rules as the editor under the user's locale
    const auto options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options) {
        std::cerr << kSimUsage;
        return 2;
    }

    static TEngine engine;
    InitEngine(engine);
    engine.ShowMessage = [](const std::string& message) { std::cerr << message << '\n'; };
    if (!options->SettingsFile.empty()) {
        // The options the editor would run with; a named file that cannot be read is an error,
        // not a silent fall-back to the defaults.
        const std::filesystem::path settings = options->SettingsFile;
        std::error_code error;
        if (!std::filesystem::is_regular_file(settings, error) ||
            access(settings.c_str(), R_OK) != 0) {
            std::cerr << "Не вдається прочитати файл параметрів \"" << options->SettingsFile
                      << "\"\n";
            return 2;
        }
        if (!LoadSettings(engine, settings)) // the reason went to stderr through ShowMessage
            return 2;
    }
    // Compaction keeps the statistics from the warm-up time exact when it knows that time.
    engine.WarmUpInterval = options->WarmUp;
    if (options->ConflictCheck)
        engine.ConflictCheck = *options->ConflictCheck;
    if (options->Seed)
        engine.Random.Seed = *options->Seed;
    else
        SeedFromClock(engine.Random);

    try {
        LoadNet(engine, options->NetFile);
    } catch (const TEngineError& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
    if (const TFormulaCheck check = CheckFormulas(engine.Net); !check.Valid) {
        std::cerr << FormulaRefusalMessage(*engine.Net.Connections[check.Position]) << '\n';
        return 2;
    }

    const auto start = std::chrono::steady_clock::now();
    const TRunStop stop = RunWholeInterval(engine, options->Interval, SimulationStep);
    if (options->Stats) {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "events %llu wall_s %.3f events_per_s %.0f\n",
                     static_cast<unsigned long long>(engine.Net.EventCount), seconds,
                     seconds > 0 ? engine.Net.EventCount / seconds : 0.0);
    }
    std::cout << SimReportJson(engine, options->WarmUp, stop);
    std::cout.flush();
    switch (stop) {
    case rsOverflow:
        return 3;
    case rsEndlessInstant:
        return 4;
    default:
        return 0;
    }
}
