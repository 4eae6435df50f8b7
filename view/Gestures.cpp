#include "Gestures.h"

#include "NetObjects.h"
#include "NumberText.h"
#include "Picking.h"
#include "Viewport.h"

namespace {

void ShiftChosen(TEngine& e, std::int32_t dx, std::int32_t dy) {
    MoveObjects(e.Net, e.Choiced.Items, dx, dy);
}

} // namespace

TGestureResult Press(TEngine& e, TEditorState& s, TMouseButton button, int x, int y,
                     TNetJournal* journal) {
    TGestureResult result;
    s.LastMouseX = x;
    s.LastMouseY = y;
    // A press starts a new gesture, also when a dialog opened by a double click took its release.
    s.SkipNextRelease = false;
    if (e.EditMode >= emCreateVertex) {
        CreateAtPoint(e, x, y, journal);
        result.CreatedObject = true;
    }
    if (button == mbLeft) {
        s.LeftMoved = false;
        s.ChosenOnPress = false;
        s.MovedX = 0;
        s.MovedY = 0;
        if (IsChosenAt(e, x, y)) {
            e.EditMode = emMove;
        } else if (ClickSelect(e, x, y, s.SelectMode)) {
            e.EditMode = emMove;
            s.ChosenOnPress = true;
        } else {
            e.EditMode = emRubberBand;
            e.BandStartX = x;
            e.BandStartY = y;
        }
    } else {
        s.RightMoved = false;
        e.EditMode = emPan;
    }
    return result;
}

TGestureResult Move(TEngine& e, TEditorState& s, int buttons, int x, int y) {
    TGestureResult result;
    e.Graph.CursorX = x;
    e.Graph.CursorY = y;
    s.LeftMoved = true;
    s.RightMoved = true;
    if (e.EditMode != emPan && e.EditMode != emDragZoom && e.EditMode != emMove)
        HoverPick(e, x, y);
    if ((buttons & mbLeft) && (buttons & mbRight)) {
        e.EditMode = emDragZoom;
        DragZoom(e.Graph, y - s.LastMouseY);
        result.ZoomChanged = true;
    } else {
        const int dx = x - s.LastMouseX;
        const int dy = y - s.LastMouseY;
        if (e.EditMode == emRubberBand) {
            BandPreview(e, e.BandStartX, e.BandStartY, x, y, s.SelectMode);
        } else if (e.EditMode == emPan) {
            Pan(e.Graph, dx, dy);
        } else if (e.EditMode == emMove) {
            const std::int32_t mx = RoundToInt(dx / e.Graph.Scale);
            const std::int32_t my = RoundToInt(dy / e.Graph.Scale);
            ShiftChosen(e, mx, my);
            s.MovedX += mx;
            s.MovedY += my;
        }
    }
    s.LastMouseX = x;
    s.LastMouseY = y;
    return result;
}

TGestureResult Release(TEngine& e, TEditorState& s, TMouseButton button, int x, int y,
                       TNetJournal* journal) {
    TGestureResult result;
    if (button == mbLeft && e.EditMode == emMove && journal != nullptr)
        RecordDrag(e, s, *journal);
    if (s.SkipNextRelease) {
        // The release after a double click: the first click already chose.
        s.SkipNextRelease = false;
    } else if (button == mbLeft) {
        if (!s.LeftMoved && !s.ChosenOnPress)
            ClickSelect(e, x, y, s.SelectMode);
        if (s.LeftMoved && e.EditMode == emRubberBand)
            BandCommit(e, e.BandStartX, e.BandStartY, x, y, s.SelectMode);
    } else if (!s.RightMoved) {
        result.OpenContextMenu = true;
    }
    e.EditMode = emIdle;
    return result;
}

void RecordDrag(const TEngine& e, TEditorState& s, TNetJournal& journal) {
    std::vector<TObjectRef> moved;
    for (const TObjectRef& entry : e.Choiced.Items)
        if (entry.Kind() != okConnection)
            moved.push_back(entry);
    journal.Moved(std::move(moved), s.MovedX, s.MovedY);
    s.MovedX = 0;
    s.MovedY = 0;
}

bool CancelGesture(TEngine& e, TEditorState& s) {
    switch (e.EditMode) {
    case emMove:
        ShiftChosen(e, -s.MovedX, -s.MovedY);
        break;
    case emRubberBand:
        ClearPicked(e);
        break;
    case emIdle:
        return false;
    default:
        break;
    }
    s.MovedX = 0;
    s.MovedY = 0;
    e.EditMode = emIdle;
    return true;
}
