#include "FormDraw.h"

#include "EditHistory.h"
#include "Engine.h"
#include "Frame.h"
#include "FrameImage.h"
#include "LaunchBuffer.h"
#include "NetObjects.h"
#include "Picking.h"
#include "Viewport.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QWheelEvent>

#include <cstdlib>

namespace {

// The left button chooses and drags, the right one pans and opens menus; the middle one (and
// any other) does nothing on the canvas.
bool IsEditingButton(Qt::MouseButton button) {
    return button == Qt::LeftButton || button == Qt::RightButton;
}

TMouseButton ButtonOf(Qt::MouseButton button) {
    return button == Qt::RightButton ? mbRight : mbLeft;
}

// Wheel units of one zoom step: 120 eighths of a degree, one notch of a common wheel.
constexpr int kWheelStep = 120;

int ButtonsOf(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? mbLeft : 0) | (buttons & Qt::RightButton ? mbRight : 0);
}

// The name of the undo step of what a creation tool makes.
QString CreationText(TEditMode tool) {
    switch (tool) {
    case emCreateVertex:
        return "Створення вершини";
    case emCreateTransition:
        return "Створення переходу";
    default:
        return "Створення зв'язку";
    }
}

// Shift or Ctrl held adds to the choice. The keys are read from each mouse event rather than
// followed by key events, whose releases go to whatever window has the focus then (a file
// dialog opened by Ctrl+O, say).
TSelectMode SelectModeOf(const QMouseEvent* event) {
    return event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier) ? TSelectMode::Extend
                                                                          : TSelectMode::Replace;
}

} // namespace

TFormDraw::TFormDraw(TEngine& engine, TEditHistory& history, QWidget* parent)
    : QWidget(parent), Engine(engine), History(history) {
    // The history may outlive the canvas (and the canvas the history), so neither holds the
    // other past its end.
    History.BeforeEdit = [canvas = QPointer<TFormDraw>(this)] {
        if (canvas)
            canvas->FinishGesture();
    };
    setObjectName("FormDraw");
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    BuildMenus();
}

void TFormDraw::BuildMenus() {
    auto menu = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(name);
        return m;
    };
    auto item = [](QMenu* m, const char* name, const char* text) {
        QAction* a = m->addAction(QString::fromUtf8(text));
        a->setObjectName(name);
        return a;
    };
    PopupScreen_ = menu("PopupScreen");
    connect(item(PopupScreen_, "PSButtonCreateVertex", "Створити вершину"), &QAction::triggered,
            this, [this] { ChooseTool(emCreateVertex); });
    connect(item(PopupScreen_, "PSButtonCreateTransition", "Створити перехід"), &QAction::triggered,
            this, [this] { ChooseTool(emCreateTransition); });
    PasteAction =
        item(PopupScreen_, "PSButtonPasteNetPart", "Вставити скопійований фрагмент сітки");
    connect(PasteAction, &QAction::triggered, this, &TFormDraw::PSButtonPasteNetPartClick);
    PopupScreen_->addSeparator();
    connect(item(PopupScreen_, "PSButtonOptions", "Настройки візуалізації"), &QAction::triggered,
            this, [this] { emit OptionsRequested(opVisualization); });
    connect(PopupScreen_, &QMenu::aboutToShow, this,
            [this] { PasteAction->setEnabled(!Engine.NetBuffer.IsEmpty()); });

    PopupVertex_ = menu("PopupVertex");
    connect(item(PopupVertex_, "PVButtonCreateConnection", "Створити лінію зв'язку"),
            &QAction::triggered, this, &TFormDraw::PVButtonCreateConnectionClick);
    connect(item(PopupVertex_, "PVButtonDeleteVertex", "Знищити вершину"), &QAction::triggered,
            this, &TFormDraw::PVButtonDeleteVertexClick);
    PopupVertex_->addSeparator();
    connect(item(PopupVertex_, "PVButtonProperties", "Властивості"), &QAction::triggered, this,
            &TFormDraw::PropertiesClick);

    PopupTransition_ = menu("PopupTransition");
    connect(item(PopupTransition_, "PTButtonCreateConnection", "Створити лінію зв'язку"),
            &QAction::triggered, this, &TFormDraw::PVButtonCreateConnectionClick);
    connect(item(PopupTransition_, "PTButtonClearBuffer", "Очистити буфер запусків"),
            &QAction::triggered, this, &TFormDraw::PTButtonClearBufferClick);
    connect(item(PopupTransition_, "PTButtonDeleteTransition", "Знищити перехід"),
            &QAction::triggered, this, &TFormDraw::PTButtonDeleteTransitionClick);
    PopupTransition_->addSeparator();
    connect(item(PopupTransition_, "PTButtonProperties", "Властивості"), &QAction::triggered, this,
            &TFormDraw::PropertiesClick);

    PopupConnection_ = menu("PopupConnection");
    connect(item(PopupConnection_, "PCButtonDeleteConnection", "Знищити лінію зв'язку"),
            &QAction::triggered, this, &TFormDraw::PCButtonDeleteConnectionClick);
    PopupConnection_->addSeparator();
    connect(item(PopupConnection_, "PCButtonProperties", "Властивості"), &QAction::triggered, this,
            &TFormDraw::PropertiesClick);

    PopupManyObjects_ = menu("PopupManyObjects");
    connect(item(PopupManyObjects_, "PMButtonCopyNetPart", "Скопіювати фрагмент сітки"),
            &QAction::triggered, this, &TFormDraw::PMButtonCopyNetPartClick);
    connect(item(PopupManyObjects_, "PMButtonDeleteNetPart", "Знищити фрагмент сітки"),
            &QAction::triggered, this, &TFormDraw::PMButtonDeleteNetPartClick);
}

void TFormDraw::paintEvent(QPaintEvent*) {
    // Moved to a screen of another device pixel ratio: the frames are drawn anew at the new one.
    if (Engine.Graph.FrontImage &&
        Engine.Graph.FrontImage->Image.devicePixelRatio() != devicePixelRatio())
        ResizeView(Engine.Graph, width(), height(), devicePixelRatio());
    QPainter painter(this);
    if (Engine.Graph.FrontImage)
        painter.drawImage(0, 0, Engine.Graph.FrontImage->Image);
}

void TFormDraw::resizeEvent(QResizeEvent* event) {
    ResizeView(Engine.Graph, event->size().width(), event->size().height(), devicePixelRatio());
    QWidget::resizeEvent(event);
}

void TFormDraw::AfterGesture(const TGestureResult& result) {
    if (result.CreatedObject)
        emit ToolChanged(emIdle);
    if (result.ZoomChanged)
        emit ZoomTextChanged(QString::fromStdString(ZoomText(Engine.Graph)));
}

void TFormDraw::mousePressEvent(QMouseEvent* event) {
    if (!IsEditingButton(event->button()))
        return;
    // Another button during a drag, or a press whose drag lost its release to a message box:
    // the drag so far is kept as a step before the new gesture starts.
    FinishGesture();
    State_.SelectMode = SelectModeOf(event);
    const QPoint p = event->position().toPoint();
    const TEditMode tool = Engine.EditMode;
    TNetJournal journal;
    const TGestureResult result =
        Press(Engine, State_, ButtonOf(event->button()), p.x(), p.y(), &journal);
    History.Commit(CreationText(tool), std::move(journal));
    AfterGesture(result);
}

void TFormDraw::mouseMoveEvent(QMouseEvent* event) {
    State_.SelectMode = SelectModeOf(event);
    const QPoint p = event->position().toPoint();
    const TPoint m = ScreenToModel(Engine.Graph, p.x(), p.y());
    emit CursorTextChanged(" X: " + QString::number(m.X), " Y: " + QString::number(m.Y));
    AfterGesture(Move(Engine, State_, ButtonsOf(event->buttons()), p.x(), p.y()));
}

void TFormDraw::mouseReleaseEvent(QMouseEvent* event) {
    if (!IsEditingButton(event->button()))
        return;
    State_.SelectMode = SelectModeOf(event);
    const QPoint p = event->position().toPoint();
    TNetJournal journal;
    const TGestureResult result =
        Release(Engine, State_, ButtonOf(event->button()), p.x(), p.y(), &journal);
    History.Commit("Переміщення", std::move(journal));
    AfterGesture(result);
    if (result.OpenContextMenu)
        OpenContextMenu(p.x(), p.y(), event->globalPosition().toPoint());
}

// Qt reports a double click as press, release, double click, release: the double click stands
// for the second press. It neither chooses, nor starts a band or a drag, nor creates an object,
// and the release that follows leaves the choice as the first click made it.
void TFormDraw::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!IsEditingButton(event->button()))
        return;
    State_.SelectMode = SelectModeOf(event);
    Engine.EditMode = emIdle;
    State_.SkipNextRelease = true;
    if (Engine.Choiced.Items.size() == 1)
        emit PropertiesRequested();
}

void TFormDraw::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete)
        PMButtonDeleteNetPartClick();
    else if (event->key() == Qt::Key_Escape)
        CancelGesture();
    else if (const int step = GridStep(Engine.Graph); event->key() == Qt::Key_Left)
        MoveChosenBy(-step, 0);
    else if (event->key() == Qt::Key_Right)
        MoveChosenBy(step, 0);
    else if (event->key() == Qt::Key_Up)
        MoveChosenBy(0, -step);
    else if (event->key() == Qt::Key_Down)
        MoveChosenBy(0, step);
    else
        QWidget::keyPressEvent(event);
}

// The vertical wheel zooms about the cursor, a step each 120 units of angle; a touchpad's small
// deltas are summed until they make a step (where it sends pixels only, two units a pixel). A
// horizontal scroll (a tilted wheel, two fingers sideways) pans: by the pixels a touchpad
// reports, else half a pixel a unit, 60 pixels a notch.
void TFormDraw::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QPoint angle = event->angleDelta();
    const QPoint pixels = event->pixelDelta();
    const QPoint delta = angle.isNull() ? pixels * 2 : angle;
    if (std::abs(delta.x()) > std::abs(delta.y())) {
        Pan(Engine.Graph, pixels.isNull() ? delta.x() / 2 : pixels.x(), 0);
        return;
    }
    WheelTurn += delta.y();
    const int steps = WheelTurn / kWheelStep;
    if (steps == 0)
        return;
    WheelTurn -= steps * kWheelStep;
    const QPoint p = event->position().toPoint();
    for (int i = 0; i < std::abs(steps); ++i)
        ZoomStepAt(Engine.Graph, steps > 0, p.x(), p.y());
    emit ZoomTextChanged(QString::fromStdString(ZoomText(Engine.Graph)));
}

void TFormDraw::OpenContextMenu(int x, int y, const QPoint& globalPosition) {
    QMenu* menu = PopupScreen_;
    auto byKind = [this](TObjectKind kind) {
        return kind == okVertex       ? PopupVertex_
               : kind == okTransition ? PopupTransition_
                                      : PopupConnection_;
    };
    if (IsChosenAt(Engine, x, y))
        menu = Engine.Choiced.Items.size() == 1 ? byKind(Engine.Choiced.Items[0].Kind())
                                                : PopupManyObjects_;
    else if (ClickSelect(Engine, x, y, State_.SelectMode))
        menu = byKind(Engine.Choiced.Items[0].Kind());
    OpenedMenu_ = menu;
    menu->popup(globalPosition);
}

void TFormDraw::ChooseTool(TEditMode editMode) {
    Engine.EditMode = editMode;
    emit ToolChanged(editMode);
}

void TFormDraw::PVButtonCreateConnectionClick() {
    if (const auto refusal = ConnectionToolRefusal(Engine, false)) {
        QMessageBox::information(this, window()->windowTitle(), QString::fromStdString(*refusal));
        return;
    }
    ChooseTool(emCreateConnection);
}

void TFormDraw::PVButtonDeleteVertexClick() {
    if (TVertex* v = FirstChosen<TVertex>(Engine, true)) {
        History.Make("Знищення вершини", [&](TNetJournal& j) { j.Delete(Engine, v); });
        emit NetObjectsChanged();
    }
}

void TFormDraw::PTButtonClearBufferClick() {
    if (TTransition* t = FirstChosen<TTransition>(Engine, true)) {
        BufferClear(t->LaunchBuffer);
        ++Engine.Net.RunResets;
    }
}

void TFormDraw::PTButtonDeleteTransitionClick() {
    if (TTransition* t = FirstChosen<TTransition>(Engine, true)) {
        History.Make("Знищення переходу", [&](TNetJournal& j) { j.Delete(Engine, t); });
        emit NetObjectsChanged();
    }
}

void TFormDraw::PCButtonDeleteConnectionClick() {
    if (TConnection* c = FirstChosen<TConnection>(Engine, true))
        History.Make("Знищення зв'язку", [&](TNetJournal& j) { j.Delete(Engine, c); });
}

void TFormDraw::PMButtonDeleteNetPartClick() {
    History.Make("Знищення фрагмента", [&](TNetJournal& j) { DeleteChosenObjects(Engine, &j); });
    emit NetObjectsChanged();
}

void TFormDraw::PSButtonPasteNetPartClick() {
    PasteAt(Engine.Graph.CursorX, Engine.Graph.CursorY);
}

void TFormDraw::PasteAt(int x, int y) {
    if (Engine.NetBuffer.IsEmpty())
        return;
    const TPoint at = ScreenToModel(Engine.Graph, x, y);
    History.Make("Вставлення фрагмента", [&](TNetJournal& j) {
        const TNetSizes before = SizesOf(Engine.Net);
        PasteFragment(Engine, at.X, at.Y);
        j.AddedSince(Engine.Net, before);
    });
    emit NetObjectsChanged();
}

QPoint TFormDraw::CursorPosition() const {
    const QPoint p = mapFromGlobal(QCursor::pos());
    return rect().contains(p) ? p : QPoint(Engine.Graph.CursorX, Engine.Graph.CursorY);
}

void TFormDraw::CopyAtCursor() {
    if (Engine.Choiced.Items.empty())
        return;
    const QPoint p = CursorPosition();
    const TPoint at = ScreenToModel(Engine.Graph, p.x(), p.y());
    CopyFragment(Engine, at.X, at.Y);
}

void TFormDraw::PasteAtCursor() {
    const QPoint p = CursorPosition();
    PasteAt(p.x(), p.y());
}

void TFormDraw::FinishGesture() {
    if (Engine.EditMode == emMove) {
        TNetJournal journal;
        RecordDrag(Engine, State_, journal);
        Engine.EditMode = emIdle;
        History.Commit("Переміщення", std::move(journal));
    } else if (Engine.EditMode == emRubberBand) {
        ::CancelGesture(Engine, State_);
    }
}

void TFormDraw::CancelGesture() {
    const bool tool = Engine.EditMode >= emCreateVertex;
    if (::CancelGesture(Engine, State_) && tool)
        emit ToolChanged(emIdle);
}

void TFormDraw::MoveChosenBy(std::int32_t dx, std::int32_t dy) {
    FinishGesture();
    if (Engine.EditMode != emIdle)
        return; // a tool waits for its click
    std::vector<TObjectRef> moved;
    for (const TObjectRef& entry : Engine.Choiced.Items)
        if (entry.Kind() != okConnection)
            moved.push_back(entry);
    MoveObjects(Engine.Net, moved, dx, dy);
    TNetJournal journal;
    journal.Moved(std::move(moved), dx, dy);
    History.Commit("Переміщення", std::move(journal));
}

void TFormDraw::PMButtonCopyNetPartClick() {
    const TPoint at = ScreenToModel(Engine.Graph, Engine.Graph.CursorX, Engine.Graph.CursorY);
    CopyFragment(Engine, at.X, at.Y);
}

void TFormDraw::PropertiesClick() {
    Engine.EditMode = emIdle;
    if (Engine.Choiced.Items.size() == 1)
        emit PropertiesRequested();
}
