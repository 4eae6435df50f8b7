// The experiment window "Експеримент": independent replications of the editor's net, run in the
// background on every core with the code of the batch simulator, so that a study here gives what
// `kvl-sim --replications R --seed S` gives for the same net, settings and seed. The net is
// copied when the study starts; editing or running it afterwards changes nothing in the study.
#pragma once

#include "Study.h"
#include "StudyRun.h"
#include "ToolWindow.h"

#include <QElapsedTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class TStudyResultsView;
class TStudyTask;
struct TEngine;

enum class TExperimentState : std::uint8_t {
    Idle,      // nothing has run yet
    Running,   // a study is under way
    Cancelled, // the last study was given up
    Finished,  // the last study ran to the end: its results are shown
    Failed,    // a replication of the last study could not run
};

class TFormExperiment : public TToolWindow {
    Q_OBJECT
public:
    explicit TFormExperiment(TEngine& engine, QWidget* parent = nullptr);
    ~TFormExperiment() override;

    // Shows the window. When no study runs, the interval and the warm-up take the values of the
    // simulation panel, and the sweep's objects are read from the net again.
    void Open(const QString& interval, const QString& warmUp);

    // Checks the fields and starts the study; a wrong field shows a message and starts nothing.
    void ButtonRunClick();
    // Gives the running study up at once.
    void ButtonCancelClick();
    // Refills the sweep's object list from the net, keeping the chosen object when it is there.
    void FillSweepObjects();

    TExperimentState State() const { return State_; }
    // The study last run (its settings) and its results, once finished.
    const TStudyHeader& ResultsHeader() const { return ResultsHeader_; }
    const std::vector<TPointResult>& Results() const { return Results_; }
    TStudyResultsView* ResultsView() const { return ResultsView_; }

    QLineEdit* LEditReplications() const { return LEditReplications_; }
    QLineEdit* LEditInterval() const { return LEditInterval_; }
    QLineEdit* LEditWarmUp() const { return LEditWarmUp_; }
    QLineEdit* LEditConfidence() const { return LEditConfidence_; }
    QLineEdit* LEditSeed() const { return LEditSeed_; }
    QCheckBox* CBoxSweep() const { return CBoxSweep_; }
    QComboBox* CBoxSweepObject() const { return CBoxSweepObject_; }
    QComboBox* CBoxSweepField() const { return CBoxSweepField_; }
    QLineEdit* LEditSweepValues() const { return LEditSweepValues_; }
    QPushButton* ButtonRun() const { return ButtonRun_; }
    QPushButton* ButtonCancel() const { return ButtonCancel_; }
    QPushButton* ButtonSaveTable() const { return ButtonSaveTable_; }
    QPushButton* ButtonSavePlot() const { return ButtonSavePlot_; }
    QProgressBar* Progress() const { return Progress_; }
    QLabel* LabelProgress() const { return LabelProgress_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The study the fields describe, on a copy of the net; nothing when a field is wrong (the
    // message has been shown).
    std::optional<TStudy> StudyFromFields();
    void FillSweepFields();
    void PollStudy();
    void SetState(TExperimentState state);
    void ShowProgress();

    TEngine& Engine;
    TExperimentState State_ = TExperimentState::Idle;
    bool Placed = false; // the window has been put over the main window once
    std::unique_ptr<TStudyTask> Task;
    QTimer* PollTimer = nullptr;
    QElapsedTimer Clock;
    std::uint64_t ShownDone = 0; // the counts the progress line shows
    std::uint64_t ShownTotal = 0;
    TStudyHeader ResultsHeader_;
    std::vector<TPointResult> Results_;

    QLineEdit* LEditReplications_ = nullptr;
    QLineEdit* LEditInterval_ = nullptr;
    QLineEdit* LEditWarmUp_ = nullptr;
    QLineEdit* LEditConfidence_ = nullptr;
    QLineEdit* LEditSeed_ = nullptr;
    QCheckBox* CBoxSweep_ = nullptr;
    QComboBox* CBoxSweepObject_ = nullptr;
    QComboBox* CBoxSweepField_ = nullptr;
    QLineEdit* LEditSweepValues_ = nullptr;
    QPushButton* ButtonRun_ = nullptr;
    QPushButton* ButtonCancel_ = nullptr;
    QPushButton* ButtonSaveTable_ = nullptr;
    QPushButton* ButtonSavePlot_ = nullptr;
    QProgressBar* Progress_ = nullptr;
    QLabel* LabelProgress_ = nullptr;
    TStudyResultsView* ResultsView_ = nullptr;
};

// The exports of the study's results: the table as CSV, the plot as PNG or SVG by the chosen
// name's extension. With nothing to save they say so and ask for no file.
// The suggested file names lie beside the net's file.
void ExportStudyTable(QWidget* parent, const TStudyResultsView& view, const QString& suggested);
void ExportStudyPlot(QWidget* parent, const TStudyResultsView& view, const QString& suggested);

// "0:12", "1:02:03": a duration in whole seconds as the progress line shows it.
QString DurationText(std::int64_t seconds);
