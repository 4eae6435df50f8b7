// A study carried out on a thread of its own, so that a program can go on with its work, follow
// the progress and give the study up at any moment.
#pragma once

#include "StudyRun.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// How a study in the background ended.
enum class TStudyOutcome : std::uint8_t {
    Running,   // not yet
    Finished,  // every replication ran: the results are there
    Cancelled, // given up by Cancel
    Failed,    // a replication could not run: the message says why
};

class TStudyTask {
public:
    // Starts the study on `jobs` threads (at least one).
    TStudyTask(TStudy study, unsigned jobs);
    // Cancels a study still running and waits for its threads.
    ~TStudyTask();
    TStudyTask(const TStudyTask&) = delete;
    TStudyTask& operator=(const TStudyTask&) = delete;

    const TStudy& Study() const { return Study_; }
    std::uint64_t Done() const { return Control.Done.load(); }
    // The replications of the whole study, known from the start.
    std::uint64_t Total() const { return Total_; }
    // Running until the thread has ended; then the outcome, final.
    TStudyOutcome Outcome() const { return Outcome_.load(std::memory_order_acquire); }
    // Raises the cancel flag and waits for the threads, which look at it every few hundred
    // rounds of launches and completions. A study that had already ended keeps its outcome.
    void Cancel();

    // After the study has finished: its results, by point.
    const std::vector<TPointResult>& Results() const { return Results_; }
    // After a failure: the message of the replication that failed.
    const std::string& Failure() const { return Failure_; }

private:
    void Run(unsigned jobs);

    TStudy Study_;
    std::uint64_t Total_ = 0;
    TStudyControl Control;
    std::vector<TPointResult> Results_;
    std::string Failure_;
    std::atomic<TStudyOutcome> Outcome_{TStudyOutcome::Running};
    std::thread Thread; // last: it starts once everything it uses is built
};
