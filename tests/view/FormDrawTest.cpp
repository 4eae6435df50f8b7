// The editor window driven by mouse and key events, as a user drives it.
#include "FormDraw.h"
#include "CanvasFixture.h"
#include "EditHistory.h"
#include "Engine.h"
#include "LaunchBuffer.h"
#include "NetObjects.h"
#include "Viewport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

class FormDrawTest : public CanvasFixture {
protected:
    void Press(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers keys = {}) {
        QTest::mousePress(Form.get(), button, keys, p);
    }
    void Release(Qt::MouseButton button, QPoint p, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseRelease(Form.get(), button, keys, p);
    }
    // A move with the given buttons held (QTest's own move carries no buttons).
    void MoveTo(QPoint p, Qt::MouseButtons held, Qt::KeyboardModifiers keys = {}) {
        QMouseEvent event(QEvent::MouseMove, p, Form->mapToGlobal(p), Qt::NoButton, held, keys);
        QApplication::sendEvent(Form.get(), &event);
    }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {}) {
        Press(button, p, keys);
        Release(button, p, keys);
    }
    // Small vertices, so that they fit the window at one pixel a unit.
    TVertex* V(int x, int y) {
        TVertex* v = CreateVertex(Engine.Net, "", 0, x, y, &Engine.Graph.Options);
        v->Radius = 40;
        v->LineWidth = 4;
        return v;
    }
    // A double click as Qt delivers it: press, release, double click, release. The double click
    // takes the place of the second press.
    void DoubleClick(QPoint p, Qt::KeyboardModifiers keys = {}) {
        DoubleClickWithoutRelease(p, keys);
        Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, keys);
    }
    // The same without its last release, which a modal dialog opened by the double click takes.
    void DoubleClickWithoutRelease(QPoint p, Qt::KeyboardModifiers keys = {}) {
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, keys);
        Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, keys);
        Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton, keys);
    }
    TTransition* T(int x, int y) {
        return CreateTransition(Engine.Net, "", x, 1, y, &Engine.Graph.Options);
    }
    bool Chosen(TObjectRef o) const { return ContainsObject(Engine.Choiced, o); }
    // A wheel or touchpad scroll at p, as Qt delivers it.
    void Wheel(QPoint p, QPoint angle, QPoint pixels = {}) {
        QWheelEvent event(p, Form->mapToGlobal(p), pixels, angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Form.get(), &event);
    }
    static QStringList Texts(QMenu* menu) {
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << (a->isSeparator() ? QString("-") : a->text());
        return texts;
    }
};

TEST_F(FormDrawTest, ContextMenusHoldTheirItemsInOrder) {
    EXPECT_EQ(Texts(Form->PopupScreen()),
              QStringList({"Створити вершину", "Створити перехід",
                           "Вставити скопійований фрагмент сітки", "-", "Настройки візуалізації"}));
    EXPECT_EQ(Texts(Form->PopupVertex()),
              QStringList({"Створити лінію зв'язку", "Знищити вершину", "-", "Властивості"}));
    EXPECT_EQ(Texts(Form->PopupTransition()),
              QStringList({"Створити лінію зв'язку", "Очистити буфер запусків", "Знищити перехід",
                           "-", "Властивості"}));
    EXPECT_EQ(Texts(Form->PopupConnection()),
              QStringList({"Знищити лінію зв'язку", "-", "Властивості"}));
    EXPECT_EQ(Texts(Form->PopupManyObjects()),
              QStringList({"Скопіювати фрагмент сітки", "Знищити фрагмент сітки"}));
}

TEST_F(FormDrawTest, ClickShiftClickAndCtrlClick) {
    TVertex* a = V(-100, 0);
    TVertex* b = V(100, 0);
    Click(At(-100, 0));
    EXPECT_TRUE(Chosen(a));
    QTest::keyPress(Form.get(), Qt::Key_Shift);
    Click(At(100, 0), Qt::LeftButton, Qt::ShiftModifier);
    QTest::keyRelease(Form.get(), Qt::Key_Shift);
    EXPECT_TRUE(Chosen(a) && Chosen(b));
    QTest::keyPress(Form.get(), Qt::Key_Control);
    Click(At(-100, 0), Qt::LeftButton, Qt::ControlModifier); // removes the chosen object
    QTest::keyRelease(Form.get(), Qt::Key_Control);
    EXPECT_FALSE(Chosen(a));
    EXPECT_TRUE(Chosen(b));
    Click(At(0, -120)); // empty canvas
    EXPECT_TRUE(Engine.Choiced.Items.empty());
    EXPECT_EQ(Engine.EditMode, emIdle);
}

// The held keys are those the mouse event carries: a Ctrl press whose release went to a dialog
// (opened by Ctrl+O, say) leaves plain clicks plain.
TEST_F(FormDrawTest, ShiftAndCtrlAreReadFromEachMouseEvent) {
    TVertex* a = V(-100, 0);
    TVertex* b = V(100, 0);
    Click(At(-100, 0));
    QTest::keyPress(Form.get(), Qt::Key_Control); // released elsewhere
    Click(At(100, 0));
    EXPECT_FALSE(Chosen(a));
    EXPECT_TRUE(Chosen(b));

    Click(At(-100, 0), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(Chosen(a) && Chosen(b));
    Click(At(100, 0));
    EXPECT_FALSE(Chosen(a));
    Click(At(-100, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(Chosen(a) && Chosen(b));

    // A band drawn with Shift held adds what it encloses; without, it replaces the choice.
    Click(At(-100, 0));
    Press(Qt::LeftButton, At(40, -60), Qt::ShiftModifier);
    MoveTo(At(160, 60), Qt::LeftButton, Qt::ShiftModifier);
    Release(Qt::LeftButton, At(160, 60), Qt::ShiftModifier);
    EXPECT_TRUE(Chosen(a) && Chosen(b));
    Press(Qt::LeftButton, At(40, -60));
    MoveTo(At(160, 60), Qt::LeftButton);
    Release(Qt::LeftButton, At(160, 60));
    EXPECT_FALSE(Chosen(a));
    EXPECT_TRUE(Chosen(b));
}

TEST_F(FormDrawTest, DraggingMovesEveryChosenObject) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
    Engine.Choiced.Items = {v, t};
    Press(Qt::LeftButton, At(-100, 0));
    EXPECT_EQ(Engine.EditMode, emMove);
    MoveTo(At(-80, 10), Qt::LeftButton);
    MoveTo(At(-70, 30), Qt::LeftButton);
    Release(Qt::LeftButton, At(-70, 30));
    EXPECT_EQ(v->X, -70);
    EXPECT_EQ(v->Y, 30);
    EXPECT_EQ(t->X, 130);
    EXPECT_EQ(t->Y, 30);
    EXPECT_EQ(Engine.Choiced.Items.size(), 2u); // a drag does not reduce the selection
}

TEST_F(FormDrawTest, RubberBandChoosesObjectsAndTheirConnection) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    TConnection* c = CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
    Engine.Graph.Scale = 0.5; // the window now spans the whole net
    Press(Qt::LeftButton, {10, 10});
    EXPECT_EQ(Engine.EditMode, emRubberBand);
    MoveTo({390, 290}, Qt::LeftButton);
    EXPECT_TRUE(ContainsObject(Engine.Picked, c)); // previewed in the picked list
    Release(Qt::LeftButton, {390, 290});
    EXPECT_TRUE(Chosen(v) && Chosen(t) && Chosen(c));
}

TEST_F(FormDrawTest, RightDragPansWithoutAMenuAndBothButtonsZoom) {
    QSignalSpy zoom(Form.get(), &TFormDraw::ZoomTextChanged);
    Press(Qt::RightButton, {100, 100});
    MoveTo({170, 100}, Qt::RightButton);
    Release(Qt::RightButton, {170, 100});
    EXPECT_EQ(Engine.Graph.CenterX, -70);
    EXPECT_EQ(Form->OpenedMenu(), nullptr);

    Press(Qt::LeftButton, {100, 100});
    MoveTo({100, 120}, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(Engine.EditMode, emDragZoom);
    EXPECT_DOUBLE_EQ(Engine.Graph.Scale, 1.0 / std::pow(1.005, 20));
    Release(Qt::LeftButton, {100, 120});
    EXPECT_EQ(zoom.count(), 1);
}

TEST_F(FormDrawTest, RightClickOpensTheMenuOfWhatIsUnderIt) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    Click(At(0, -120), Qt::RightButton);
    EXPECT_EQ(Form->OpenedMenu(), Form->PopupScreen());
    QTest::qWait(10);
    EXPECT_FALSE(Form->findChild<QAction*>("PSButtonPasteNetPart")->isEnabled());
    Form->PopupScreen()->hide();

    Click(At(-100, 0), Qt::RightButton); // not chosen: chosen now, with its menu
    EXPECT_TRUE(Chosen(v));
    EXPECT_EQ(Form->OpenedMenu(), Form->PopupVertex());
    Form->PopupVertex()->hide();

    Engine.Choiced.Items = {v, t};
    Click(At(100, 0), Qt::RightButton);
    EXPECT_EQ(Form->OpenedMenu(), Form->PopupManyObjects());
    Form->PopupManyObjects()->hide();

    Engine.Choiced.Items = {t};
    Click(At(100, 0), Qt::RightButton);
    EXPECT_EQ(Form->OpenedMenu(), Form->PopupTransition());
}

TEST_F(FormDrawTest, CopiedFragmentIsPastedWhereTheMenuOpened) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    TConnection* c = CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
    Engine.Choiced.Items = {v, t, c};
    MoveTo(At(100, 0), Qt::NoButton);
    Click(At(100, 0), Qt::RightButton);
    ASSERT_EQ(Form->OpenedMenu(), Form->PopupManyObjects());
    Form->findChild<QAction*>("PMButtonCopyNetPart")->trigger();
    Form->PopupManyObjects()->hide();
    MoveTo(At(0, -120), Qt::NoButton);
    Click(At(0, -120), Qt::RightButton);
    ASSERT_EQ(Form->OpenedMenu(), Form->PopupScreen());
    QAction* paste = Form->findChild<QAction*>("PSButtonPasteNetPart");
    EXPECT_TRUE(paste->isEnabled());
    QSignalSpy changed(Form.get(), &TFormDraw::NetObjectsChanged);
    paste->trigger();
    ASSERT_EQ(Engine.Net.Vertices.size(), 2u);
    EXPECT_EQ(Engine.Net.Vertices[1]->X, -200); // moved by the way from the copy point
    EXPECT_EQ(Engine.Net.Vertices[1]->Y, -120);
    EXPECT_EQ(Engine.Net.Connections.size(), 2u);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FormDrawTest, RightClickInACreationModeCreatesAndOpensAMenu) {
    QSignalSpy tool(Form.get(), &TFormDraw::ToolChanged);
    Engine.EditMode = emCreateVertex;
    Click(At(50, 50), Qt::RightButton);
    ASSERT_EQ(Engine.Net.Vertices.size(), 1u);
    EXPECT_EQ(Engine.Net.Vertices[0]->X, 50);
    EXPECT_EQ(Form->OpenedMenu(), Form->PopupVertex());
    ASSERT_EQ(tool.count(), 1);
    EXPECT_EQ(tool.at(0).at(0).value<TEditMode>(), emIdle);
}

TEST_F(FormDrawTest, DeleteKeyDeletesVertexTransitionAndConnectionOnce) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    TConnection* c = CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
    Engine.Choiced.Items = {c, v, t};
    QSignalSpy changed(Form.get(), &TFormDraw::NetObjectsChanged);
    QTest::keyClick(Form.get(), Qt::Key_Delete);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
    EXPECT_TRUE(Engine.Net.Transitions.empty());
    EXPECT_TRUE(Engine.Net.Connections.empty());
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FormDrawTest, MenuCommandsActOnTheOneChosenObject) {
    TVertex* v = V(-100, 0);
    TTransition* t = T(100, 0);
    CreateConnection(Engine.Net, ctVT, 1, v, t, &Engine.Graph.Options);
    BufferAppend(t->LaunchBuffer, 5);
    Engine.Choiced.Items = {t};
    Form->findChild<QAction*>("PTButtonClearBuffer")->trigger();
    EXPECT_EQ(BufferCount(t->LaunchBuffer), 0);
    Form->findChild<QAction*>("PTButtonCreateConnection")->trigger();
    EXPECT_EQ(Engine.EditMode, emCreateConnection);
    Engine.EditMode = emIdle;
    QSignalSpy changed(Form.get(), &TFormDraw::NetObjectsChanged);
    Engine.Choiced.Items = {Engine.Net.Connections[0].get()};
    Form->findChild<QAction*>("PCButtonDeleteConnection")->trigger();
    EXPECT_TRUE(Engine.Net.Connections.empty());
    EXPECT_EQ(changed.count(), 0); // a connection is not in the monitor list
    Engine.Choiced.Items = {v};
    Form->findChild<QAction*>("PVButtonDeleteVertex")->trigger();
    EXPECT_TRUE(Engine.Net.Vertices.empty());
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FormDrawTest, DoubleClickChoosesAndAsksForPropertiesWithoutABand) {
    TVertex* v = V(0, 0);
    QSignalSpy properties(Form.get(), &TFormDraw::PropertiesRequested);
    DoubleClick(At(0, 0));
    EXPECT_TRUE(Chosen(v));
    EXPECT_EQ(properties.count(), 1);
    EXPECT_EQ(Engine.EditMode, emIdle);

    V(200, 0);
    Engine.Choiced.Items = {Engine.Net.Vertices[0].get(), Engine.Net.Vertices[1].get()};
    DoubleClick(At(100, -130)); // empty canvas with two objects chosen: no dialog, no band
    EXPECT_EQ(properties.count(), 1);
    EXPECT_EQ(Engine.EditMode, emIdle);
}

// Each double click asks for the properties of the object it was made on, also after a dialog
// opened by the previous one took that double click's last release.
TEST_F(FormDrawTest, EachDoubleClickAsksForThePropertiesOfItsObject) {
    TVertex* p1 = V(-100, 0);
    p1->Name = "P1";
    TVertex* p2 = V(100, 0);
    p2->Name = "P2";
    std::vector<std::string> asked; // the one chosen object at each request
    QObject::connect(Form.get(), &TFormDraw::PropertiesRequested, Form.get(), [&] {
        ASSERT_EQ(Engine.Choiced.Items.size(), 1u);
        asked.push_back(Engine.Choiced.Items[0].Vertex()->Name);
    });
    DoubleClick(At(-100, 0));
    DoubleClick(At(100, 0));
    DoubleClickWithoutRelease(At(-100, 0));
    EXPECT_EQ(asked, (std::vector<std::string>{"P1", "P2", "P1"}));
    EXPECT_EQ(Engine.EditMode, emIdle);

    Click(At(-100, 0), Qt::LeftButton, Qt::ControlModifier); // no press or release is skipped
    EXPECT_TRUE(Engine.Choiced.Items.empty());
}

// The release that ends a double click leaves the choice as the first click made it.
TEST_F(FormDrawTest, DoubleClickReleaseKeepsTheChoice) {
    TVertex* a = V(-100, 0);
    TVertex* b = V(100, 0);
    Engine.Choiced.Items = {a, b};
    DoubleClick(At(-100, 0), Qt::ControlModifier); // the first click takes A out
    EXPECT_FALSE(Chosen(a));
    EXPECT_TRUE(Chosen(b));
    EXPECT_EQ(Engine.EditMode, emIdle);
}

TEST_F(FormDrawTest, WheelZoomsByStepsOfItsAngleAboutTheCursor) {
    Engine.Graph.Scale = 0.5;
    QSignalSpy zoom(Form.get(), &TFormDraw::ZoomTextChanged);
    const QPoint cursor(300, 80);
    const TPoint under = ScreenToModel(Engine.Graph, cursor.x(), cursor.y());
    Wheel(cursor, {0, 120});
    EXPECT_DOUBLE_EQ(Engine.Graph.Scale, 0.5 * 1.15);
    EXPECT_EQ(ScreenToModel(Engine.Graph, cursor.x(), cursor.y()), under);
    EXPECT_EQ(zoom.count(), 1);

    // A touchpad's small deltas add up to a step.
    Wheel(cursor, {0, 60});
    EXPECT_DOUBLE_EQ(Engine.Graph.Scale, 0.5 * 1.15);
    Wheel(cursor, {0, 60});
    EXPECT_DOUBLE_EQ(Engine.Graph.Scale, 0.5 * 1.15 * 1.15);
    EXPECT_EQ(ScreenToModel(Engine.Graph, cursor.x(), cursor.y()), under);

    // Two notches at once make two steps; turning back zooms out about another point.
    Wheel({50, 250}, {0, -240});
    EXPECT_DOUBLE_EQ(Engine.Graph.Scale, 0.5);
    Wheel({50, 250}, {}, {0, -60}); // pixels alone: two units a pixel
    EXPECT_DOUBLE_EQ(Engine.Graph.Scale, 0.5 / 1.15);
    EXPECT_EQ(zoom.count(), 4);
}

TEST_F(FormDrawTest, HorizontalScrollPansAndKeepsTheZoom) {
    Engine.Graph.Scale = 0.5;
    Wheel({200, 150}, {-120, 0}); // a tilted wheel: 60 pixels a notch
    EXPECT_EQ(Engine.Graph.Scale, 0.5);
    EXPECT_EQ(Engine.Graph.CenterX, 120);
    EXPECT_EQ(Engine.Graph.CenterY, 0);
    Wheel({200, 150}, {40, 3}, {20, 1}); // two fingers sideways: the pixels they travelled
    EXPECT_EQ(Engine.Graph.Scale, 0.5);
    EXPECT_EQ(Engine.Graph.CenterX, 80);
}

TEST_F(FormDrawTest, MiddleButtonNeitherChoosesNorDrags) {
    TVertex* v = V(0, 0);
    TVertex* chosen = V(100, 0);
    Engine.Choiced.Items = {chosen};
    for (QPoint p : {At(0, 0), At(100, 0), At(-150, -100)}) {
        Press(Qt::MiddleButton, p);
        MoveTo(p + QPoint(40, 30), Qt::MiddleButton);
        Release(Qt::MiddleButton, p + QPoint(40, 30));
        EXPECT_EQ(Engine.EditMode, emIdle);
    }
    EXPECT_FALSE(Chosen(v));
    EXPECT_TRUE(Chosen(chosen));
    EXPECT_EQ(chosen->X, 100);

    // Nor does its release end a drag of the left button.
    Press(Qt::LeftButton, At(100, 0));
    MoveTo(At(110, 0), Qt::LeftButton);
    Press(Qt::MiddleButton, At(110, 0));
    Release(Qt::MiddleButton, At(110, 0));
    MoveTo(At(130, 0), Qt::LeftButton);
    Release(Qt::LeftButton, At(130, 0));
    EXPECT_EQ(chosen->X, 130);
}

TEST_F(FormDrawTest, MovingTheMouseReportsTheModelPosition) {
    QSignalSpy cursor(Form.get(), &TFormDraw::CursorTextChanged);
    MoveTo(At(37, -12), Qt::NoButton);
    ASSERT_EQ(cursor.count(), 1);
    EXPECT_EQ(cursor.at(0).at(0).toString(), QString(" X: 37"));
    EXPECT_EQ(cursor.at(0).at(1).toString(), QString(" Y: -12"));
}

} // namespace
