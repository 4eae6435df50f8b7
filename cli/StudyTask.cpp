#include "StudyTask.h"

#include "SimRun.h"

#include <exception>

TStudyTask::TStudyTask(TStudy study, unsigned jobs)
    : Study_(std::move(study)), Total_(PointCount(Study_.Header) * Study_.Header.Replications),
      Thread([this, jobs] { Run(jobs); }) {}

TStudyTask::~TStudyTask() {
    Cancel();
}

void TStudyTask::Cancel() {
    Control.Cancel = true;
    if (Thread.joinable())
        Thread.join();
}

void TStudyTask::Run(unsigned jobs) {
    TStudyOutcome outcome = TStudyOutcome::Finished;
    try {
        Results_ = RunStudy(Study_, {}, jobs, &Control);
    } catch (const TRunCancelled&) {
        outcome = TStudyOutcome::Cancelled;
    } catch (const std::exception& error) {
        Failure_ = error.what();
        outcome = TStudyOutcome::Failed;
    } catch (...) {
        Failure_ = "Невідома помилка прогону";
        outcome = TStudyOutcome::Failed;
    }
    // The results and the message are written before the outcome that publishes them.
    Outcome_.store(outcome, std::memory_order_release);
}
