// A modified net is never dropped silently: the caption shows it, New, Open, Reload and Exit
// ask first, undo takes edits back to the very bytes of the file, and a crash leaves a copy that
// the next start offers back.
#include "DialogControls.h"
#include "EditHistory.h"
#include "Engine.h"
#include "FormDraw.h"
#include "FormMain.h"
#include "MainWindowFixture.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "Recovery.h"
#include "RunControl.h"
#include "TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path kExamples = KVL_EXAMPLES;

class UnsavedChangesTest : public MainWindowFixture {
protected:
    std::unique_ptr<TFormMain> Open(bool recover = false, TFormMain** opening = nullptr) {
        auto form = std::make_unique<TFormMain>(Engine);
        if (opening != nullptr)
            *opening = form.get();
        form->AskToSave = [this](const QString& name) {
            Asked << name;
            return Answer;
        };
        form->AskToRecover = [this, recover] {
            ++RecoveryOffers;
            if (WhileAsked)
                WhileAsked();
            return recover;
        };
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::processEvents(); // the offer of a recovery copy comes after showing
        return form;
    }
    void OpenExample(TFormMain& form) {
        form.ChooseFileToOpen = [this] { return QString::fromStdString(Example.string()); };
        Key(&form, Qt::Key_O, Qt::ControlModifier);
        ASSERT_EQ(Engine.Net.Vertices.size(), 3u);
    }
    // Everything chosen and deleted with the Delete key.
    void DeleteEverything(TFormMain& form) {
        Engine.Choiced.Items.clear();
        for (auto& v : Engine.Net.Vertices)
            Engine.Choiced.Items.push_back(v.get());
        for (auto& t : Engine.Net.Transitions)
            Engine.Choiced.Items.push_back(t.get());
        for (auto& c : Engine.Net.Connections)
            Engine.Choiced.Items.push_back(c.get());
        form.FormDraw()->setFocus();
        Key(form.FormDraw(), Qt::Key_Delete);
        ASSERT_TRUE(Engine.Net.Vertices.empty());
    }
    static QString Caption(const TFormMain& form) { return form.DrawWindow()->windowTitle(); }

    const std::filesystem::path Example = kExamples / "queue.kvl";
    QStringList Asked;
    TSaveAnswer Answer = TSaveAnswer::Cancel;
    int RecoveryOffers = 0;
    std::function<void()> WhileAsked;
};

TEST_F(UnsavedChangesTest, DeleteAllUndoAndSaveGivesTheFileBackByteForByte) {
    auto form = Open();
    OpenExample(*form);
    EXPECT_EQ(Caption(*form), QString("queue.kvl"));
    DeleteEverything(*form);
    EXPECT_EQ(Caption(*form), QString("queue.kvl*"));
    Key(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Engine.Net.Vertices.size(), 3u);
    EXPECT_EQ(Caption(*form), QString("queue.kvl"));
    const auto copy = Folder / "copy.kvl";
    form->ChooseFileToSave = [&] { return QString::fromStdString(copy.string()); };
    Key(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(ReadBytes(copy), ReadBytes(Example));

    // Redo with either shortcut deletes again.
    Key(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
    Key(form.get(), Qt::Key_Z, Qt::ControlModifier);
    Key(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
    EXPECT_EQ(Caption(*form), QString("copy.kvl*"));
    EXPECT_TRUE(Asked.isEmpty());
}

TEST_F(UnsavedChangesTest, NewOpenReloadAndExitAskBeforeDroppingChanges) {
    auto form = Open();
    OpenExample(*form);
    Key(form.get(), Qt::Key_X, Qt::ControlModifier); // not modified: nothing to ask
    EXPECT_TRUE(Asked.isEmpty());
    DeleteEverything(*form);

    Answer = TSaveAnswer::Cancel;
    Key(form.get(), Qt::Key_N, Qt::ControlModifier);
    Key(form.get(), Qt::Key_O, Qt::ControlModifier);
    Key(form.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(Asked, QStringList(4, "queue.kvl"));
    EXPECT_TRUE(Engine.Net.Vertices.empty()); // the modified net is still there
    EXPECT_TRUE(form->History()->IsModified());

    Answer = TSaveAnswer::Discard;
    Key(form.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Engine.Net.Vertices.size(), 3u); // reloaded from the file, which is unchanged
    EXPECT_FALSE(form->History()->IsModified());
    EXPECT_EQ(form->History()->Stack()->count(), 0);

    // Saving from the question writes the file before the net is put aside.
    const auto saved = Folder / "saved.kvl";
    form->ChooseFileToSave = [&] { return QString::fromStdString(saved.string()); };
    Key(form.get(), Qt::Key_N, Qt::ControlModifier);
    CreateVertex(Engine.Net, "", 1, 0, 0, nullptr); // made outside the history: not a change
    EXPECT_FALSE(form->History()->IsModified());
    DeleteEverything(*form);
    Answer = TSaveAnswer::Save;
    Asked.clear();
    Key(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Asked, QStringList("Новий файл"));
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_EQ(Caption(*form), QString("Новий файл"));
    EXPECT_TRUE(form->close());
}

TEST_F(UnsavedChangesTest, ClearingTheNetStopsTheRunAndUndoes) {
    auto form = Open();
    OpenExample(*form);
    Key(form.get(), Qt::Key_F9);
    ASSERT_EQ(Engine.RunMode, rmRealTime);
    QTest::qWait(100);
    const std::string before = NetText(Engine.Net);
    const double time = Engine.Net.ModelTime;
    form->Action("ButtonClearNet")->trigger();
    EXPECT_EQ(Engine.RunMode, rmStopped);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
    EXPECT_EQ(Engine.Net.ModelTime, 0);
    Key(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(NetText(Engine.Net), before);
    EXPECT_EQ(Engine.Net.ModelTime, time);

    // Redoing the clear during a run stops the run too: its time would jump back to 0.
    Key(form.get(), Qt::Key_F9);
    ASSERT_EQ(Engine.RunMode, rmRealTime);
    Key(form.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Engine.RunMode, rmStopped);
    EXPECT_EQ(Engine.Net.ModelTime, 0);
}

TEST_F(UnsavedChangesTest, ACrashedSessionsNetIsOfferedBack) {
    const auto recovery = Folder / "KVLRecovery.kvl";
    std::string left;
    {
        auto form = Open();
        OpenExample(*form);
        DeleteEverything(*form);
        CreateVertex(Engine.Net, "Kept", 4, 0, 0, nullptr);
        form->WriteRecovery();
        ASSERT_TRUE(std::filesystem::exists(recovery));
        // A second editor at the same time keeps no copy of its own.
        EXPECT_FALSE(TRecoveryFile(Folder.Path()).IsOwned());
        left = ReadBytes(recovery);
    } // a normal end removes the copy
    EXPECT_FALSE(std::filesystem::exists(recovery));
    EXPECT_EQ(RecoveryOffers, 0);

    // As a crash leaves it: the copy and the name of its file. The copy survives a tick of the
    // recovery timer while the offer is still open.
    WriteBytes(recovery, left);
    WriteBytes(Folder / "KVLRecovery.name", Example.string());
    ClearNet(Engine.Net, &Engine);
    TFormMain* opening = nullptr;
    WhileAsked = [&] {
        ASSERT_NE(opening, nullptr);
        opening->WriteRecovery();
        EXPECT_TRUE(std::filesystem::exists(recovery));
    };
    auto form = Open(true, &opening);
    EXPECT_EQ(RecoveryOffers, 1);
    ASSERT_EQ(Engine.Net.Vertices.size(), 1u);
    EXPECT_EQ(Engine.Net.Vertices[0]->Name, "Kept");
    EXPECT_EQ(Engine.FileName, Example);
    EXPECT_TRUE(form->History()->IsModified());
    EXPECT_EQ(Caption(*form), QString("queue.kvl*"));
}

TEST_F(UnsavedChangesTest, AnUnreadableCopyIsSetAsideAndNamed) {
    WriteBytes(Folder / "KVLRecovery.kvl", "not a net\r\n");
    auto form = Open(true);
    EXPECT_EQ(RecoveryOffers, 1);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains("KVLRecovery-unreadable.kvl"));
    EXPECT_TRUE(std::filesystem::exists(Folder / "KVLRecovery-unreadable.kvl"));
    EXPECT_FALSE(std::filesystem::exists(Folder / "KVLRecovery.kvl"));
    EXPECT_FALSE(form->History()->IsModified());
}

} // namespace
