// "Файл" -> "Експорт" -> results and histories: the tables written to the file the dialog
// names, a failed write that keeps the old file, and a net with nothing monitored.
#include "Engine.h"
#include "ExportFile.h"
#include "FormMain.h"
#include "HistoryCsv.h"
#include "MainWindowFixture.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "ResultsCsv.h"
#include "TextCodec.h"

#include <QAction>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

class ExportResultsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        PreviousChoose = ChooseExportFile;
        ChooseExportFile = [this](QWidget*, const QString&, const QString& filter, const QString&) {
            Filters << filter;
            return Chosen;
        };
        Form = std::make_unique<TFormMain>(Engine);
    }
    void TearDown() override {
        Form.reset();
        ChooseExportFile = PreviousChoose;
        MainWindowFixture::TearDown();
    }

    // A monitored vertex and transition with some history, and one that is not monitored.
    void BuildNet() {
        TVertex* queue = CreateVertex(Engine.Net, Utf8ToWin1251("Черга"), 2, 0, 0, nullptr);
        TTransition* serve = CreateTransition(Engine.Net, "Serve", 0, 1, 0, nullptr);
        CreateVertex(Engine.Net, "Other", 1, 0, 0, nullptr);
        StartMonitoring(*queue, 0);
        StartMonitoring(*serve, 0);
        HistoryAdd(queue->History, hmReplace, 1, 3, 2.5);
        queue->Marking = 3;
        Engine.Net.ModelTime = 10;
        Engine.WarmUpInterval = 1;
    }

    void Trigger(const char* action) { Form->findChild<QAction*>(action)->trigger(); }

    std::unique_ptr<TFormMain> Form;
    QStringList Filters;
    QString Chosen;
    decltype(ChooseExportFile) PreviousChoose;
};

TEST_F(ExportResultsTest, ResultsAndHistoriesGoToTheChosenFiles) {
    BuildNet();
    Chosen = QString::fromStdString((Folder / "results").string());
    Trigger("ButtonExportResults");
    EXPECT_EQ(Filters.value(0), "Таблиця CSV (*.csv)");
    // The window of the results panel: from the warm-up interval to the model time.
    const std::string results = ReadBytes(Folder / "results.csv");
    EXPECT_EQ(results, ResultsCsv(Engine, 1));
    EXPECT_NE(results, ResultsCsv(Engine, 0));
    EXPECT_NE(results.find("\nvertex,Черга,mean,"), std::string::npos) << results;
    EXPECT_EQ(results.find("Other"), std::string::npos);

    Chosen = QString::fromStdString((Folder / "history.csv").string());
    Trigger("ButtonExportHistories");
    EXPECT_EQ(ReadBytes(Folder / "history.csv"), "time,Черга,Serve\n0,2,0\n2.5,3,0\n");
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join("\n").toStdString();
}

TEST_F(ExportResultsTest, NothingMonitoredGivesAMessageAndNoDialog) {
    CreateVertex(Engine.Net, "P", 1, 0, 0, nullptr);
    Chosen = QString::fromStdString((Folder / "x.csv").string());
    for (const char* action : {"ButtonExportResults", "ButtonExportHistories"})
        Trigger(action);
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_EQ(Messages[0],
              "Немає об'єктів моніторингу: позначте «Вести моніторинг» у властивостях об'єкта.");
    EXPECT_TRUE(Filters.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(Folder / "x.csv"));
}

TEST_F(ExportResultsTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    BuildNet();
    const auto path = Folder / "old.csv";
    WriteBytes(path, "old");
    Chosen = QString::fromStdString(path.string());
    // A file size limit makes the write fail for any user, root included.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = previous;
    tight.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &tight);
    Trigger("ButtonExportHistories");
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(ReadBytes(path), "old");
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains("old.csv")) << Messages[0].toStdString();
}

} // namespace
