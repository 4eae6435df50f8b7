// "Файл" -> "Імпорт PNML…" and "Експорт PNML…": import asks about unsaved changes as opening
// does, keeps the net when the file is bad, and gives a new unsaved net; export writes a document
// that imports back into the same net.
#include "EditHistory.h"
#include "Engine.h"
#include "ExportFile.h"
#include "FormMain.h"
#include "MainWindowFixture.h"
#include "NetFile.h"
#include "PnmlImport.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path kExamples = KVL_EXAMPLES;

class PnmlCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        PreviousChoose = ChooseExportFile;
        ChooseExportFile = [this](QWidget*, const QString&, const QString&, const QString&) {
            return Chosen;
        };
        Form = std::make_unique<TFormMain>(Engine);
        Form->AskToSave = [this](const QString& name) {
            Asked << name;
            return Answer;
        };
        Form->ChooseFileToImport = [this] {
            ++ImportDialogs;
            return ImportFrom;
        };
        Form->ChooseFileToOpen = [] {
            return QString::fromStdString((kExamples / "queue.kvl").string());
        };
        Trigger("ButtonOpenProject");
        QueueText = NetText(Engine.Net);
    }
    void TearDown() override {
        Form.reset();
        ChooseExportFile = PreviousChoose;
        MainWindowFixture::TearDown();
    }
    void Trigger(const char* action) { Form->findChild<QAction*>(action)->trigger(); }

    std::unique_ptr<TFormMain> Form;
    decltype(ChooseExportFile) PreviousChoose;
    QString Chosen;
    QString ImportFrom;
    QStringList Asked;
    TSaveAnswer Answer = TSaveAnswer::Cancel;
    int ImportDialogs = 0;
    std::string QueueText;
};

TEST_F(PnmlCommandsTest, ExportThenImportGivesTheSameNetAsANewUnsavedOne) {
    Chosen = QString::fromStdString((Folder / "queue").string());
    Trigger("ButtonExportPnml");
    const auto written = Folder / "queue.pnml";
    ASSERT_TRUE(std::filesystem::exists(written)); // the extension is added
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join("\n").toStdString();

    ImportFrom = QString::fromStdString(written.string());
    Trigger("ButtonImportPnml");
    EXPECT_TRUE(Asked.isEmpty()); // nothing was changed, so nothing is asked
    EXPECT_EQ(NetText(Engine.Net), QueueText);
    EXPECT_TRUE(Engine.FileName.empty());
    EXPECT_TRUE(Form->History()->IsModified());
    EXPECT_TRUE(Messages.isEmpty());
}

// A PNML document opened as a net file (Ctrl+O, the command line, a file manager) is imported.
TEST_F(PnmlCommandsTest, OpeningAPnmlFileImportsIt) {
    Chosen = QString::fromStdString((Folder / "queue.pnml").string());
    Trigger("ButtonExportPnml");
    Form->OpenProjectFile(Chosen);
    EXPECT_EQ(NetText(Engine.Net), QueueText);
    EXPECT_TRUE(Engine.FileName.empty());
    EXPECT_TRUE(Form->History()->IsModified());
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join("\n").toStdString();
    EXPECT_TRUE(Form->RecentFiles().empty() || Form->RecentFiles().front().extension() != ".pnml");
}

TEST_F(PnmlCommandsTest, UnsavedChangesAreAskedAboutAndCancelKeepsEverything) {
    Form->History()->MarkUnsaved();
    Answer = TSaveAnswer::Cancel;
    Trigger("ButtonImportPnml");
    EXPECT_EQ(Asked.size(), 1);
    EXPECT_EQ(ImportDialogs, 0);
    EXPECT_EQ(NetText(Engine.Net), QueueText);
    EXPECT_EQ(Engine.FileName.filename(), "queue.kvl");
}

TEST_F(PnmlCommandsTest, BadFileShowsWhyAndLeavesTheNetAsItWas) {
    const auto bad = Folder / "bad.pnml";
    WriteBytes(bad, "<pnml>\n<net id=\"n\">\n<place id=\"p\"><initialMarking><text>-1</text>"
                    "</initialMarking></place>\n</net>\n</pnml>\n");
    ImportFrom = QString::fromStdString(bad.string());
    Trigger("ButtonImportPnml");
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains("bad.pnml"));
    EXPECT_TRUE(Messages[0].contains("рядок 3"));
    EXPECT_EQ(NetText(Engine.Net), QueueText);
    EXPECT_EQ(Engine.FileName.filename(), "queue.kvl");
    EXPECT_FALSE(Form->History()->IsModified());
}

TEST_F(PnmlCommandsTest, WhatWasLeftOutIsShownAfterTheImport) {
    const auto file = Folder / "inhibitor.pnml";
    WriteBytes(file, "<pnml><net id=\"n\"><place id=\"p\"/><transition id=\"t\"/>"
                     "<arc id=\"a\" source=\"p\" target=\"t\" type=\"inhibitor\"/>"
                     "</net></pnml>");
    ImportFrom = QString::fromStdString(file.string());
    Trigger("ButtonImportPnml");
    EXPECT_EQ(Engine.Net.Vertices.size(), 1u);
    EXPECT_TRUE(Engine.Net.Connections.empty());
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains("інгібіторні дуги: 1"));
}

} // namespace
