// Opening nets other than through the file dialog: the file named on the command line, and the
// list of recently opened files in "Файл" -> "Недавні файли".
#include "EditHistory.h"
#include "EditorArguments.h"
#include "Engine.h"
#include "FormMain.h"
#include "FormMonitorList.h"
#include "MainWindowFixture.h"
#include "RecentFiles.h"
#include "Settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>
#include <gmock/gmock.h>

#include <filesystem>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::filesystem::path kExamples = KVL_EXAMPLES;

class OpeningFilesTest : public MainWindowFixture {
protected:
    // The main window shown with a start-up file, after the work its first show queues.
    std::unique_ptr<TFormMain> Start(const QString& startFile = {}, bool recover = false) {
        auto form = std::make_unique<TFormMain>(Engine);
        form->AskToSave = [this](const QString& name) {
            Asked << name;
            return TSaveAnswer::Cancel;
        };
        form->AskToRecover = [recover] { return recover; };
        if (!startFile.isEmpty())
            form->SetStartFile(startFile);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::processEvents();
        return form;
    }
    static QString Caption(const TFormMain& form) { return form.DrawWindow()->windowTitle(); }
    static QStringList MonitoredVertices(const TFormMain& form) {
        QStringList names;
        const QTreeWidgetItem* vertices = form.FormMonitorList()->Tree()->topLevelItem(0)->child(0);
        for (int i = 0; i < vertices->childCount(); ++i)
            names << vertices->child(i)->text(0);
        return names;
    }
    static QStringList RecentMenuTexts(const TFormMain& form) {
        QStringList texts;
        for (const QAction* action : form.findChild<QMenu*>("MenuRecentFiles")->actions())
            texts << (action->isSeparator() ? "-" : action->text());
        return texts;
    }
    // A copy of a sample net in the test's folder, so that it may be removed.
    std::filesystem::path CopyOfExample(const std::string& name) {
        const auto copy = Folder / name;
        std::filesystem::copy_file(kExamples / "queue.kvl", copy);
        return copy;
    }
    std::filesystem::path SettingsFile() const { return Folder / "KVLConfig.ini"; }

    QStringList Asked;
};

TEST_F(OpeningFilesTest, AFileGivenAtStartUpOpensAsOpenDoes) {
    const auto form = Start(QString::fromStdString((kExamples / "queue.kvl").string()));
    EXPECT_EQ(Engine.Net.Vertices.size(), 3u);
    EXPECT_EQ(Caption(*form), QString("queue.kvl"));
    EXPECT_THAT(MonitoredVertices(*form), ElementsAre("Джерело", "Черга", "Прилад_вільний"));
    EXPECT_FALSE(form->History()->IsModified());
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_THAT(form->RecentFiles(), ElementsAre(kExamples / "queue.kvl"));
}

// A net restored from a crashed session is unsaved work: the start-up file asks about it before
// it would replace it, and a cancelled question keeps the restored net.
TEST_F(OpeningFilesTest, AStartUpFileWaitsForTheRestoredNetAndAsksAboutIt) {
    std::filesystem::copy_file(kExamples / "conflict.kvl", Folder / "KVLRecovery.kvl");
    WriteBytes(Folder / "KVLRecovery.name", (Folder / "crashed.kvl").string());
    const auto form = Start(QString::fromStdString((kExamples / "queue.kvl").string()), true);
    ASSERT_EQ(Asked.size(), 1);
    EXPECT_EQ(Engine.FileName, Folder / "crashed.kvl");
    EXPECT_TRUE(form->History()->IsModified());
    EXPECT_TRUE(form->RecentFiles().empty());
}

TEST_F(OpeningFilesTest, AnUnreadableStartUpFileGivesTheMessageAndAnEmptyNet) {
    const auto damaged = Folder / "damaged.kvl";
    WriteBytes(damaged, "not a number\r\n");
    for (const auto& path : {damaged, Folder / "missing.kvl"}) {
        Messages.clear();
        const auto form = Start(QString::fromStdString(path.string()));
        ASSERT_EQ(Messages.size(), 1);
        EXPECT_THAT(Messages[0].toStdString(), HasSubstr(path.filename().string()));
        EXPECT_TRUE(Engine.Net.Vertices.empty());
        EXPECT_TRUE(Engine.FileName.empty());
        EXPECT_EQ(Caption(*form), QString("Новий файл"));
        EXPECT_TRUE(form->RecentFiles().empty()); // a file that did not open is not listed
    }
}

TEST_F(OpeningFilesTest, RecentFilesAreListedNewestFirstAndKeptAcrossSessions) {
    const auto first = CopyOfExample("first.kvl");
    const auto second = CopyOfExample("second.kvl");
    {
        const auto form = Start();
        EXPECT_FALSE(form->findChild<QMenu*>("MenuRecentFiles")->isEnabled());
        form->OpenProjectFile(QString::fromStdString(first.string()));
        form->OpenProjectFile(QString::fromStdString(second.string()));
        form->ChooseFileToOpen = [&] { return QString::fromStdString(first.string()); };
        Key(form.get(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_THAT(form->RecentFiles(), ElementsAre(first, second));
        const QString folder = QDir::toNativeSeparators(QString::fromStdString(Folder.Path()));
        EXPECT_EQ(RecentMenuTexts(*form),
                  QStringList({"&1  first.kvl — " + folder, "&2  second.kvl — " + folder, "-",
                               "Очистити список"}));
    }
    // The next session lists them again, and its settings are the file's 40 keys untouched.
    const std::string text = ReadBytes(SettingsFile());
    EXPECT_LT(text.find("[Options]"), text.find("[RecentFiles]"));
    const auto form = Start();
    EXPECT_THAT(form->RecentFiles(), ElementsAre(first, second));
    form->findChild<QAction*>("RecentFile2")->trigger();
    EXPECT_EQ(Engine.FileName, second);
    EXPECT_EQ(Caption(*form), QString("second.kvl"));
    EXPECT_THAT(form->RecentFiles(), ElementsAre(second, first));
}

TEST_F(OpeningFilesTest, ARecentFileThatIsGoneIsReportedAndDropped) {
    const auto kept = CopyOfExample("kept.kvl");
    const auto gone = CopyOfExample("gone.kvl");
    const auto form = Start();
    form->OpenProjectFile(QString::fromStdString(gone.string()));
    form->OpenProjectFile(QString::fromStdString(kept.string()));
    std::filesystem::remove(gone);
    form->findChild<QAction*>("RecentFile2")->trigger();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_THAT(Messages[0].toStdString(), HasSubstr("gone.kvl"));
    EXPECT_EQ(Engine.FileName, kept); // the net on screen stays
    EXPECT_THAT(form->RecentFiles(), ElementsAre(kept));
    EXPECT_THAT(LoadRecentFiles(SettingsFile()), ElementsAre(kept));
}

TEST_F(OpeningFilesTest, ARecentFileAsksAboutUnsavedChangesFirst) {
    const auto other = CopyOfExample("other.kvl");
    const auto form = Start(QString::fromStdString(CopyOfExample("edited.kvl").string()));
    form->OpenProjectFile(QString::fromStdString(other.string()));
    form->OpenProjectFile(QString::fromStdString((Folder / "edited.kvl").string()));
    form->History()->Make("Правка", [](TNetJournal&) {});
    form->History()->MarkUnsaved();
    form->findChild<QAction*>("RecentFile2")->trigger(); // the user cancels the question
    EXPECT_EQ(Asked, QStringList("edited.kvl"));
    EXPECT_EQ(Engine.FileName, Folder / "edited.kvl");
}

TEST(EditorArguments, TakesOneFileMadeAbsoluteAndRefusesTheRest) {
    const TEditorArguments none = ParseEditorArguments({});
    EXPECT_EQ(none.Start, TEditorStart::Run);
    EXPECT_TRUE(none.File.isEmpty());

    const TEditorArguments relative = ParseEditorArguments({"nets/queue.kvl"});
    EXPECT_EQ(relative.Start, TEditorStart::Run);
    EXPECT_EQ(relative.File, QDir::current().absoluteFilePath("nets/queue.kvl"));

    // After "--" a name may start with a dash.
    EXPECT_EQ(ParseEditorArguments({"--", "-odd.kvl"}).File,
              QDir::current().absoluteFilePath("-odd.kvl"));

    for (const QStringList& wrong :
         {QStringList{"--frobnicate"}, QStringList{"a.kvl", "b.kvl"}, QStringList{""}}) {
        const TEditorArguments refused = ParseEditorArguments(wrong);
        EXPECT_EQ(refused.Start, TEditorStart::Refused) << wrong.join(' ').toStdString();
        EXPECT_FALSE(refused.Error.isEmpty());
        EXPECT_TRUE(refused.File.isEmpty());
    }
}

} // namespace
