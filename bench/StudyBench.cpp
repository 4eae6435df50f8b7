// Replications on threads against one thread: a study of 16 replications of the M/M/1 net of
// bench/nets run with one job and with two, alternating, several rounds, the best wall-clock
// time of each and their ratio.
//   study_bench [ROUNDS] [HORIZON] [JOBS]
#include "StudyRun.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double StudySeconds(const TStudy& study, unsigned jobs) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<TPointResult> points = RunStudy(study, {}, jobs);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (points.empty() || points[0].Rows.size() != study.Header.Replications)
        std::abort();
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const double horizon = argc > 2 ? std::atof(argv[2]) : 2000000;
    const unsigned jobs = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 2;
    TSimOptions options;
    options.NetFile = std::string(KVL_BENCH_NETS) + "/mm1.kvl";
    options.Interval = horizon;
    options.Seed = 1;
    options.Study.Replications = 16;
    const TStudy study = PrepareStudy(options);
    double bestOne = 1e300, bestMany = 1e300;
    for (int round = 0; round < rounds; ++round) {
        bestOne = std::min(bestOne, StudySeconds(study, 1));
        bestMany = std::min(bestMany, StudySeconds(study, jobs));
    }
    std::printf("16 replications of mm1, horizon %g, best of %d rounds\n", horizon, rounds);
    std::printf("jobs 1: %.3f s   jobs %u: %.3f s   speed-up %.2fx\n", bestOne, jobs, bestMany,
                bestOne / bestMany);
    return 0;
}
