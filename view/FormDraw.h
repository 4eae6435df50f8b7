// The editor window: the canvas on which the net is drawn and edited. It paints the last
// finished frame in one block, passes mouse events to the gestures with the Shift/Ctrl state they
// carry, and offers the context menus of the canvas and of the objects.
#pragma once

#include "Gestures.h"
#include "OptionsPages.h"

#include <QWidget>

class QMenu;
class TEditHistory;
struct TEngine;

class TFormDraw : public QWidget {
    Q_OBJECT
public:
    TFormDraw(TEngine& engine, TEditHistory& history, QWidget* parent = nullptr);

    const TEditorState& State() const { return State_; }
    QMenu* PopupScreen() const { return PopupScreen_; }
    QMenu* PopupVertex() const { return PopupVertex_; }
    QMenu* PopupTransition() const { return PopupTransition_; }
    QMenu* PopupConnection() const { return PopupConnection_; }
    QMenu* PopupManyObjects() const { return PopupManyObjects_; }
    // The context menu opened last, or none.
    QMenu* OpenedMenu() const { return OpenedMenu_; }

signals:
    // " X: 123" and " Y: -45": the model position under the mouse.
    void CursorTextChanged(const QString& x, const QString& y);
    void ZoomTextChanged(const QString& text);
    // A creation tool was chosen, or used up (emIdle), for the main window's tool buttons.
    void ToolChanged(TEditMode editMode);
    // The double-click action: the property dialog of the one chosen object.
    void PropertiesRequested();
    // Objects were deleted or pasted: the monitor list is rebuilt.
    void NetObjectsChanged();
    void OptionsRequested(TOptionsPage page);

public slots:
    void PVButtonCreateConnectionClick();
    void PVButtonDeleteVertexClick();
    void PTButtonClearBufferClick();
    void PTButtonDeleteTransitionClick();
    void PCButtonDeleteConnectionClick();
    void PMButtonDeleteNetPartClick();
    void PropertiesClick();
    void PSButtonPasteNetPartClick();
    void PMButtonCopyNetPartClick();
    // Ctrl+C and Ctrl+V: the chosen objects copied, and the copy pasted, at the mouse cursor.
    void CopyAtCursor();
    void PasteAtCursor();
    // Ends a drag, a rubber band or a waiting creation tool as Escape does.
    void CancelGesture();
    // Ends a drag or a rubber band under way before another edit: the drag so far becomes a
    // step of its own, the band is dropped.
    void FinishGesture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void BuildMenus();
    void OpenContextMenu(int x, int y, const QPoint& globalPosition);
    void ChooseTool(TEditMode editMode);
    void AfterGesture(const TGestureResult& result);
    void PasteAt(int x, int y);
    void MoveChosenBy(std::int32_t dx, std::int32_t dy);
    // The mouse position over the canvas, or the last one when it is elsewhere.
    QPoint CursorPosition() const;

    TEngine& Engine;
    TEditHistory& History;
    TEditorState State_;
    QMenu* PopupScreen_ = nullptr;
    QMenu* PopupVertex_ = nullptr;
    QMenu* PopupTransition_ = nullptr;
    QMenu* PopupConnection_ = nullptr;
    QMenu* PopupManyObjects_ = nullptr;
    QMenu* OpenedMenu_ = nullptr;
    class QAction* PasteAction = nullptr;
    int WheelTurn = 0; // wheel units turned towards the next zoom step, in or out (< 120)
};
