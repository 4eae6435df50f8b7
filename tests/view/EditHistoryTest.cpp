// Every edit a user makes on the canvas is one undo step: undoing it gives back the net file
// byte for byte, and redoing it gives back the edited net.
#include "EditHistory.h"
#include "CanvasFixture.h"
#include "Engine.h"
#include "FormDraw.h"
#include "FormVertexProperties.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "Viewport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class EditHistoryTest : public CanvasFixture {
protected:
    void SetUp() override {
        CanvasFixture::SetUp();
        P = CreateVertex(Engine.Net, "", 3, -100, 0, &Engine.Graph.Options);
        T = CreateTransition(Engine.Net, "", 100, 1, 0, &Engine.Graph.Options);
        Q = CreateVertex(Engine.Net, "", 0, 0, 100, &Engine.Graph.Options);
        for (TVertex* v : {P, Q}) {
            v->Radius = 40;
            v->LineWidth = 4;
        }
        CreateConnection(Engine.Net, ctVT, 1, P, T, &Engine.Graph.Options);
        CreateConnection(Engine.Net, ctTV, 1, Q, T, &Engine.Graph.Options);
    }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        Send(QEvent::MouseButtonPress, p, button, button);
        Send(QEvent::MouseButtonRelease, p, button, Qt::NoButton);
    }
    void Drag(QPoint from, QPoint to) {
        Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    // Makes the edit as a user does; it must be exactly one step that undoes to the net before
    // and redoes to the net after, byte for byte.
    void ExpectOneStep(const std::function<void()>& edit) {
        const std::string before = NetText(Engine.Net);
        const int steps = History.Stack()->index();
        edit();
        const std::string after = NetText(Engine.Net);
        ASSERT_NE(after, before);
        ASSERT_EQ(History.Stack()->index(), steps + 1);
        EXPECT_TRUE(History.IsModified());
        History.Undo();
        EXPECT_EQ(NetText(Engine.Net), before);
        History.Redo();
        EXPECT_EQ(NetText(Engine.Net), after);
        History.Undo();
        EXPECT_EQ(NetText(Engine.Net), before);
    }

    TVertex* P = nullptr;
    TTransition* T = nullptr;
    TVertex* Q = nullptr;
};

TEST_F(EditHistoryTest, CreationToolsMakeOneStepEach) {
    ExpectOneStep([&] {
        Engine.EditMode = emCreateVertex;
        Click(At(0, -100));
    });
    ExpectOneStep([&] {
        Engine.EditMode = emCreateTransition;
        Click(At(-50, -100));
    });
    // A new connection, then one more of the same kind: the count rises.
    for (int twice = 0; twice < 2; ++twice)
        ExpectOneStep([&] {
            Engine.Choiced.Items = {Q};
            Engine.EditMode = emCreateConnection;
            Send(QEvent::MouseMove, At(100, 0), Qt::NoButton, Qt::NoButton);
            Click(At(100, 0));
        });
    Engine.Choiced.Items = {P};
    Engine.EditMode = emCreateInformConnection;
    Send(QEvent::MouseMove, At(100, 0), Qt::NoButton, Qt::NoButton);
    ExpectOneStep([&] { Click(At(100, 0)); }); // the ordinary P -> T turns informational
}

TEST_F(EditHistoryTest, ADragIsOneStepAndEscapePutsItBack) {
    Engine.Choiced.Items = {P, T};
    ExpectOneStep([&] { Drag(At(-100, 0), At(-60, 30)); });

    const std::string before = NetText(Engine.Net);
    Send(QEvent::MouseButtonPress, At(-100, 0), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, At(-20, 50), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(P->X, -20);
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    EXPECT_EQ(NetText(Engine.Net), before);
    Send(QEvent::MouseMove, At(0, 60), Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, At(0, 60), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(NetText(Engine.Net), before);
    EXPECT_EQ(History.Stack()->count(), 1);
}

// A drag that another button, an edit or an undo cuts short is kept as a step of its own, so
// the history always accounts for where the objects are.
TEST_F(EditHistoryTest, ADragCutShortIsStillOneStep) {
    const std::string original = NetText(Engine.Net);
    Engine.Choiced.Items = {P};
    Send(QEvent::MouseButtonPress, At(-100, 0), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, At(-60, 20), Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonPress, At(-60, 20), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    Send(QEvent::MouseMove, At(-60, 40), Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    Send(QEvent::MouseButtonRelease, At(-60, 40), Qt::RightButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, At(-60, 40), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(P->X, -60);
    ASSERT_EQ(History.Stack()->index(), 1);
    Engine.Graph.Scale = 1.0; // the move with both buttons zoomed

    // Delete and paste in the middle of a drag.
    Engine.Graph.CursorX = At(0, 0).x();
    Engine.Graph.CursorY = At(0, 0).y();
    Form->findChild<QAction*>("PMButtonCopyNetPart")->trigger();
    Send(QEvent::MouseButtonPress, At(-60, 20), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, At(-40, 20), Qt::NoButton, Qt::LeftButton);
    Form->PasteAtCursor();
    Send(QEvent::MouseMove, At(-20, 20), Qt::NoButton, Qt::LeftButton);
    QTest::keyClick(Form.get(), Qt::Key_Delete);
    Send(QEvent::MouseMove, At(0, 20), Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, At(0, 20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(P->X, -40);

    // An undo in the middle of a drag takes back the drag.
    Send(QEvent::MouseButtonPress, At(-40, 20), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, At(0, 0), Qt::NoButton, Qt::LeftButton);
    History.Undo();
    Send(QEvent::MouseMove, At(10, 10), Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, At(10, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(P->X, -40);
    while (History.Stack()->canUndo())
        History.Undo();
    EXPECT_EQ(NetText(Engine.Net), original);
}

TEST_F(EditHistoryTest, EscapeDropsTheBandAndPutsAwayTheTool) {
    Send(QEvent::MouseButtonPress, At(-190, -140), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, At(190, 140), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(Engine.Picked.Items.empty());
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    Send(QEvent::MouseButtonRelease, At(190, 140), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(Engine.Choiced.Items.empty());

    QSignalSpy tool(Form.get(), &TFormDraw::ToolChanged);
    Engine.EditMode = emCreateVertex;
    QTest::keyClick(Form.get(), Qt::Key_Escape);
    EXPECT_EQ(Engine.EditMode, emIdle);
    ASSERT_EQ(tool.count(), 1);
    Click(At(0, -100));
    EXPECT_EQ(Engine.Net.Vertices.size(), 2u);
    EXPECT_EQ(History.Stack()->count(), 0);
}

TEST_F(EditHistoryTest, ArrowKeysMoveTheChosenObjectsByAGridStep) {
    Engine.Choiced.Items = {Q};
    const int step = GridStep(Engine.Graph);
    ASSERT_GT(step, 0);
    ExpectOneStep([&] { QTest::keyClick(Form.get(), Qt::Key_Right); });
    QTest::keyClick(Form.get(), Qt::Key_Down);
    QTest::keyClick(Form.get(), Qt::Key_Left);
    EXPECT_EQ(Q->X, -step);
    EXPECT_EQ(Q->Y, 100 + step);
    EXPECT_EQ(History.Stack()->index(), 2);
}

TEST_F(EditHistoryTest, DeletionsAndPastesAreOneStepEach) {
    Engine.Choiced.Items = {P, T, Engine.Net.Connections[0].get()};
    ExpectOneStep([&] { QTest::keyClick(Form.get(), Qt::Key_Delete); });
    Engine.Choiced.Items = {T};
    ExpectOneStep([&] { Form->findChild<QAction*>("PTButtonDeleteTransition")->trigger(); });
    Engine.Choiced.Items = {Engine.Net.Connections[1].get()};
    ExpectOneStep([&] { Form->findChild<QAction*>("PCButtonDeleteConnection")->trigger(); });

    Engine.Choiced.Items = {P, T, Q};
    Engine.Graph.CursorX = At(0, 0).x();
    Engine.Graph.CursorY = At(0, 0).y();
    Form->findChild<QAction*>("PMButtonCopyNetPart")->trigger();
    ExpectOneStep([&] { Form->findChild<QAction*>("PSButtonPasteNetPart")->trigger(); });
    ExpectOneStep([&] { Form->PasteAtCursor(); });
}

TEST_F(EditHistoryTest, UndoingADeletionBringsBackTheSameObjects) {
    Engine.Choiced.Items = {T};
    QTest::keyClick(Form.get(), Qt::Key_Delete);
    ASSERT_EQ(Engine.Net.Transitions.size(), 0u);
    History.Undo();
    ASSERT_EQ(Engine.Net.Transitions.size(), 1u);
    EXPECT_EQ(Engine.Net.Transitions[0].get(), T); // pointers held elsewhere stay good
    EXPECT_EQ(T->InConnections.size(), 1u);
    EXPECT_EQ(T->OutConnections.size(), 1u);
}

TEST_F(EditHistoryTest, PropertyDialogOkWritesOnlyWhatTheUserChanged) {
    TFormVertexProperties dialog(Engine, History);
    Engine.Choiced.Items = {P};
    dialog.show();
    // The run moves the marking while the dialog is open; the user renames only.
    P->Marking = 1;
    dialog.findChild<QLineEdit*>("EditName")->setText("Buffer");
    QTest::mouseClick(dialog.ButtonOk(), Qt::LeftButton);
    EXPECT_EQ(P->Name, "Buffer");
    EXPECT_EQ(P->Marking, 1);
    ASSERT_EQ(History.Stack()->count(), 1);
    History.Undo();
    EXPECT_EQ(P->Name, "P1");
    EXPECT_EQ(P->Marking, 1);

    // OK with nothing changed makes no step.
    dialog.show();
    QTest::mouseClick(dialog.ButtonOk(), Qt::LeftButton);
    EXPECT_EQ(History.Stack()->count(), 1);
    EXPECT_EQ(History.Stack()->index(), 0);
}

TEST_F(EditHistoryTest, SavedStateFollowsUndoAndRedo) {
    QSignalSpy modified(&History, &TEditHistory::ModifiedChanged);
    Engine.Choiced.Items = {Q};
    QTest::keyClick(Form.get(), Qt::Key_Delete);
    EXPECT_TRUE(History.IsModified());
    History.MarkSaved();
    EXPECT_FALSE(History.IsModified());
    History.Undo();
    EXPECT_TRUE(History.IsModified());
    History.Redo();
    EXPECT_FALSE(History.IsModified()); // back at the saved net
    History.MarkUnsaved();
    EXPECT_TRUE(History.IsModified());
    History.Forget();
    EXPECT_FALSE(History.IsModified());
    EXPECT_EQ(History.Stack()->count(), 0);
    EXPECT_GE(modified.count(), 5);
}

} // namespace
