// The experiment window as a user drives it: its states, a cancel and a close in the middle of a
// study, results equal to kvl-sim's for the same net and seed, edits of the net during a study,
// wrong fields, and the exports of the results.
#include "Engine.h"
#include "ExportFile.h"
#include "FormExperiment.h"
#include "FormMain.h"
#include "MainWindowFixture.h"
#include "NetObjects.h"
#include "StudyReport.h"
#include "StudyResultsView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

namespace {

using ::testing::HasSubstr;
using Clock = std::chrono::steady_clock;

const std::filesystem::path kQueueNet = std::filesystem::path(KVL_EXAMPLES) / "queue.kvl";

class ExperimentWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        PreviousChooser = ChooseExportFile;
        ChooseExportFile = [this](QWidget*, const QString&, const QString&,
                                  const QString& suggested) {
            ++Chosen;
            Suggested = suggested;
            return ExportPath;
        };
        Form = std::make_unique<TFormMain>(Engine);
        Form->ChooseFileToOpen = [] { return QString::fromStdString(kQueueNet.string()); };
        Form->show();
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->ButtonOpenProjectClick();
        Form->Action("ButtonExperiment")->trigger();
        Window = Form->FormExperiment();
    }
    void TearDown() override {
        Form.reset();
        ChooseExportFile = PreviousChooser;
        MainWindowFixture::TearDown();
    }

    // Types the text into the edit as a user would, over what it held.
    static void Type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Waits for the study to end; false when it did not within the time.
    bool WaitForEnd(int seconds = 120) {
        return QTest::qWaitFor([this] { return Window->State() != TExperimentState::Running; },
                               seconds * 1000);
    }

    // kvl-sim's study of the example file with the same numbers.
    static std::string KvlSimCsv(double interval, double warmUp, std::uint64_t replications,
                                 std::uint32_t seed, const std::string& sweep = {}) {
        TSimOptions options;
        options.NetFile = kQueueNet.string();
        options.Interval = interval;
        options.WarmUp = warmUp;
        options.Seed = seed;
        options.Study.Requested = true;
        options.Study.Replications = replications;
        options.Study.ReplicationsGiven = true;
        options.Study.Sweep = sweep;
        const TStudy study = PrepareStudy(options);
        return StudyCsv(study.Header, RunStudy(study, {}, 2), true);
    }
    std::string WindowCsv() const {
        return StudyCsv(Window->ResultsHeader(), Window->Results(), true);
    }

    std::unique_ptr<TFormMain> Form;
    TFormExperiment* Window = nullptr;
    QString ExportPath;
    int Chosen = 0;
    QString Suggested;
    decltype(ChooseExportFile) PreviousChooser;
};

TEST_F(ExperimentWindowTest, OpensWithTheSimulationPanelsNumbersAndTheNetsObjects) {
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Window->windowTitle(), "Експеримент");
    EXPECT_EQ(Window->State(), TExperimentState::Idle);
    EXPECT_EQ(Window->LEditReplications()->text(), "20");
    EXPECT_EQ(Window->LEditConfidence()->text(), "0.95");
    EXPECT_EQ(Window->LEditInterval()->text(), "1000");
    EXPECT_FALSE(Window->ButtonCancel()->isEnabled());

    QComboBox* objects = Window->CBoxSweepObject();
    const int queue = objects->findText("Черга");
    const int arrival = objects->findText("Надходження");
    ASSERT_GE(queue, 0);
    ASSERT_GE(arrival, 0);
    bool connectionNamed = false;
    for (int i = 0; i < objects->count(); ++i)
        connectionNamed = connectionNamed || objects->itemText(i) == "Надходження->Черга";
    EXPECT_TRUE(connectionNamed);
    // The field list follows the kind of the object.
    objects->setCurrentIndex(queue);
    ASSERT_EQ(Window->CBoxSweepField()->count(), 1);
    EXPECT_EQ(Window->CBoxSweepField()->currentData().toString(), "marking");
    objects->setCurrentIndex(arrival);
    EXPECT_EQ(Window->CBoxSweepField()->count(), 5);
    EXPECT_GE(Window->CBoxSweepField()->findData("law"), 0);
    EXPECT_EQ(Window->CBoxSweepField()->findData("marking"), -1);
}

TEST_F(ExperimentWindowTest, RunsToTheEndWithKvlSimsResultsWhateverTheEditorDoesMeanwhile) {
    Type(Window->LEditInterval(), "20000");
    Type(Window->LEditWarmUp(), "100");
    Type(Window->LEditSeed(), "12345");
    Click(Window->ButtonRun());
    ASSERT_EQ(Window->State(), TExperimentState::Running);
    EXPECT_FALSE(Window->ButtonRun()->isEnabled());
    EXPECT_TRUE(Window->ButtonCancel()->isEnabled());
    // The study works on the copy taken at the start: the net edited and run in the editor
    // meanwhile changes nothing in it.
    Engine.Net.Transitions[0]->Delay = 5;
    Engine.Net.Vertices[0]->Marking = 3;
    Form->ButtonIntervalClick();
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(Window->State(), TExperimentState::Finished);
    EXPECT_THAT(Window->LabelProgress()->text().toStdString(), HasSubstr("20"));
    EXPECT_EQ(Window->Progress()->value(), Window->Progress()->maximum());
    EXPECT_TRUE(Window->ResultsView()->HasResults());
    EXPECT_EQ(Window->ResultsHeader().Seed, 12345u);
    EXPECT_EQ(Window->ResultsHeader().Net, "queue.kvl");
    EXPECT_EQ(WindowCsv(), KvlSimCsv(20000, 100, 20, 12345));
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join("\n").toStdString();
}

TEST_F(ExperimentWindowTest, SweepOfAChosenFieldGivesKvlSimsSweep) {
    Type(Window->LEditReplications(), "4");
    Type(Window->LEditInterval(), "2000");
    Type(Window->LEditSeed(), "7");
    QTest::mouseClick(Window->CBoxSweep(), Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_TRUE(Window->CBoxSweep()->isChecked());
    Window->CBoxSweepObject()->setCurrentIndex(
        Window->CBoxSweepObject()->findText("Обслуговування"));
    Window->CBoxSweepField()->setCurrentIndex(Window->CBoxSweepField()->findData("delay"));
    Type(Window->LEditSweepValues(), "0.5:0.9:0.2");
    Click(Window->ButtonRun());
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(Window->State(), TExperimentState::Finished) << Messages.join("\n").toStdString();
    EXPECT_EQ(Window->Results().size(), 3u);
    EXPECT_EQ(WindowCsv(), KvlSimCsv(2000, 0, 4, 7, "Обслуговування.delay=0.5:0.9:0.2"));
    EXPECT_TRUE(Window->ResultsView()->HasPlot());
}

TEST_F(ExperimentWindowTest, CancelEndsALongStudyAtOnce) {
    Type(Window->LEditInterval(), "1000000000000");
    Click(Window->ButtonRun());
    ASSERT_EQ(Window->State(), TExperimentState::Running);
    QTest::qWait(300);
    EXPECT_EQ(Window->State(), TExperimentState::Running);
    const auto start = Clock::now();
    Click(Window->ButtonCancel());
    EXPECT_EQ(Window->State(), TExperimentState::Cancelled);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 1.0);
    EXPECT_FALSE(Window->ResultsView()->HasResults());
    EXPECT_THAT(Window->LabelProgress()->text().toStdString(),
                HasSubstr("Експеримент скасовано: виконано прогонів 0 з 20"));
    EXPECT_TRUE(Window->ButtonRun()->isEnabled());

    // Another study runs after a cancel as after nothing.
    Type(Window->LEditInterval(), "500");
    Type(Window->LEditReplications(), "3");
    Click(Window->ButtonRun());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Window->State(), TExperimentState::Finished);
}

TEST_F(ExperimentWindowTest, ClosingTheWindowOrTheEditorEndsTheStudyAtOnce) {
    Type(Window->LEditInterval(), "1000000000000");
    Click(Window->ButtonRun());
    QTest::qWait(200);
    Window->close();
    EXPECT_EQ(Window->State(), TExperimentState::Cancelled);

    Form->Action("ButtonExperiment")->trigger();
    Click(Window->ButtonRun());
    ASSERT_EQ(Window->State(), TExperimentState::Running);
    QTest::qWait(200);
    const auto start = Clock::now();
    EXPECT_TRUE(Form->close());
    Form.reset();
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 1.0);
}

TEST_F(ExperimentWindowTest, WrongFieldsAreToldAndNothingRuns) {
    struct TCase {
        QLineEdit* Edit;
        const char* Text;
        const char* Told;
    };
    const TCase cases[] = {
        {Window->LEditReplications(), "1", "Кількість прогонів"},
        {Window->LEditReplications(), "twenty", "Кількість прогонів"},
        {Window->LEditReplications(), "2000000", "Кількість прогонів"},
        {Window->LEditInterval(), "0", "Інтервал імітації"},
        {Window->LEditInterval(), "abc", "Інтервал імітації"},
        {Window->LEditWarmUp(), "-1", "Інтервал розгону"},
        {Window->LEditWarmUp(), "1000", "Інтервал розгону"},
        {Window->LEditConfidence(), "1", "Довірча ймовірність"},
        {Window->LEditConfidence(), "95%", "Довірча ймовірність"},
        {Window->LEditSeed(), "-5", "Початкове значення"},
        {Window->LEditSeed(), "4294967296", "Початкове значення"},
    };
    for (const TCase& wrong : cases) {
        const QString kept = wrong.Edit->text();
        Type(wrong.Edit, QString::fromUtf8(wrong.Text));
        Messages.clear();
        Click(Window->ButtonRun());
        EXPECT_EQ(Window->State(), TExperimentState::Idle) << wrong.Text;
        ASSERT_EQ(Messages.size(), 1) << wrong.Text;
        EXPECT_THAT(Messages[0].toStdString(), HasSubstr(wrong.Told)) << wrong.Text;
        Type(wrong.Edit, kept);
    }
    QTest::mouseClick(Window->CBoxSweep(), Qt::LeftButton, {}, QPoint(4, 4));
    for (const char* values : {"", "1:0:0.1", "x,y"}) {
        Type(Window->LEditSweepValues(), QString::fromUtf8(values));
        Messages.clear();
        Click(Window->ButtonRun());
        EXPECT_EQ(Window->State(), TExperimentState::Idle) << values;
        EXPECT_EQ(Messages.size(), 1) << values;
    }
}

TEST_F(ExperimentWindowTest, ExportsSayWhenThereIsNothingAndWriteWhatTheViewGives) {
    Form->ButtonExportStudyTableClick();
    Click(Window->ButtonSavePlot());
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_THAT(Messages[0].toStdString(), HasSubstr("Немає результатів експерименту"));
    EXPECT_EQ(Messages[1], Messages[0]);
    EXPECT_EQ(Chosen, 0);

    Type(Window->LEditReplications(), "3");
    Type(Window->LEditInterval(), "300");
    Click(Window->ButtonRun());
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(Window->State(), TExperimentState::Finished);
    Messages.clear();
    ExportPath = QString::fromStdString((Folder / "table").string());
    Click(Window->ButtonSaveTable());
    EXPECT_EQ(Chosen, 1);
    QFile table(QString::fromStdString((Folder / "table.csv").string()));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.readAll(), Window->ResultsView()->TableCsv());
    // The name offered lies beside the net's file and carries its name.
    EXPECT_TRUE(Suggested.endsWith("queue-experiment.csv")) << Suggested.toStdString();
    // A study without a sweep has no plot to save.
    Form->ButtonExportStudyPlotClick();
    EXPECT_EQ(Chosen, 1);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_THAT(Messages[0].toStdString(), HasSubstr("Графік"));

    QTest::mouseClick(Window->CBoxSweep(), Qt::LeftButton, {}, QPoint(4, 4));
    Window->CBoxSweepObject()->setCurrentIndex(Window->CBoxSweepObject()->findText("Черга"));
    Type(Window->LEditSweepValues(), "0,2");
    Click(Window->ButtonRun());
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(Window->State(), TExperimentState::Finished) << Messages.join("\n").toStdString();
    ExportPath = QString::fromStdString((Folder / "plot.svg").string());
    Form->ButtonExportStudyPlotClick();
    QFile svg(ExportPath);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_EQ(svg.readAll(), Window->ResultsView()->PlotSvg());
    ExportPath = QString::fromStdString((Folder / "plot").string());
    Click(Window->ButtonSavePlot());
    QFile png(QString::fromStdString((Folder / "plot.png").string()));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_EQ(png.readAll(), Window->ResultsView()->PlotPng());
}

TEST(ExperimentProgressText, DurationsReadAsMinutesAndSeconds) {
    EXPECT_EQ(DurationText(0), "0:00");
    EXPECT_EQ(DurationText(12), "0:12");
    EXPECT_EQ(DurationText(81), "1:21");
    EXPECT_EQ(DurationText(3723), "1:02:03");
}

} // namespace
