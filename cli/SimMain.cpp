// kvl-sim: runs a net over an interval of model time without a window and prints the results as
// JSON; with study options, runs independent replications and prints their means with
// confidence intervals; `kvl-sim merge` combines the partial results of a study's shards.
// Exit status 0 after complete runs, 3 when a launch buffer overflowed, 4 when the net kept
// firing at one model time, 2 when a file cannot be read, a formula is invalid or the arguments
// are wrong.
#include "KvlVersion.h"
#include "ProgramInfo.h"
#include "SimOptions.h"
#include "StudyCommand.h"

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, ""); // the same number rules as the editor under the user's locale
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (AnswerInfoRequest(arguments, "kvl-sim", kSimUsage, kKvlVersion))
        return 0;
    if (!arguments.empty() && arguments.front() == "merge") {
        std::string error;
        const auto options = ParseMergeOptions(
            std::vector<std::string>(arguments.begin() + 1, arguments.end()), error);
        if (!options) {
            std::cerr << error << '\n' << kSimUsage;
            return 2;
        }
        return RunMergeCommand(*options);
    }
    std::string error;
    const auto options = ParseSimOptions(arguments, error);
    if (!options) {
        if (error.empty())
            std::cerr << kSimUsage;
        else
            std::cerr << error << '\n';
        return 2;
    }
    return options->Study.Requested ? RunStudyCommand(*options) : RunSingleCommand(*options);
}
