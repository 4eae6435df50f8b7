#include "Gestures.h"

#include "NumberText.h"
#include "Picking.h"
#include "Viewport.h"

TGestureResult Press(TEngine& e, TEditorState& s, TMouseButton button, int x, int y) {
    TGestureResult result;
    s.LastMouseX = x;
    s.LastMouseY = y;
    if (e.EditMode >= 5) {
        CreateAtPoint(e, x, y);
        result.CreatedObject = true;
    }
    if (button == mbLeft) {
        if (s.SkipNextPress) {
            s.SkipNextPress = false;
            return result;
        }
        s.LeftMoved = false;
        s.ChosenOnPress = false;
        if (IsChosenAt(e, x, y)) {
            e.EditMode = 4;
        } else if (ClickSelect(e, x, y, s.AdditiveSelect)) {
            e.EditMode = 4;
            s.ChosenOnPress = true;
        } else {
            e.EditMode = 1;
            e.BandStartX = x;
            e.BandStartY = y;
        }
    } else {
        s.RightMoved = false;
        e.EditMode = 2;
    }
    return result;
}

TGestureResult Move(TEngine& e, TEditorState& s, int buttons, int x, int y) {
    TGestureResult result;
    e.Graph.CursorX = x;
    e.Graph.CursorY = y;
    s.LeftMoved = true;
    s.RightMoved = true;
    if (e.EditMode != 2 && e.EditMode != 3 && e.EditMode != 4)
        HoverPick(e, x, y);
    if ((buttons & mbLeft) && (buttons & mbRight)) {
        e.EditMode = 3;
        DragZoom(e.Graph, y - s.LastMouseY);
        result.ZoomChanged = true;
    } else {
        const int dx = x - s.LastMouseX;
        const int dy = y - s.LastMouseY;
        if (e.EditMode == 1) {
            BandPreview(e, e.BandStartX, e.BandStartY, x, y, s.AdditiveSelect);
        } else if (e.EditMode == 2) {
            Pan(e.Graph, dx, dy);
        } else if (e.EditMode == 4) {
            const std::int32_t mx = RoundToInt(dx / e.Graph.Scale);
            const std::int32_t my = RoundToInt(dy / e.Graph.Scale);
            for (const TEnginePickedChoicedEntry& entry : e.Choiced.Items) {
                if (entry.Kind == okVertex) {
                    auto* v = static_cast<TVertex*>(entry.Object);
                    v->X += mx;
                    v->Y += my;
                } else if (entry.Kind == okTransition) {
                    auto* t = static_cast<TTransition*>(entry.Object);
                    t->X += mx;
                    t->Y += my;
                }
            }
        }
    }
    s.LastMouseX = x;
    s.LastMouseY = y;
    return result;
}

TGestureResult Release(TEngine& e, TEditorState& s, TMouseButton button, int x, int y) {
    TGestureResult result;
    if (button == mbLeft) {
        if (!s.LeftMoved && !s.ChosenOnPress)
            ClickSelect(e, x, y, s.AdditiveSelect);
        if (s.LeftMoved && e.EditMode == 1)
            BandCommit(e, e.BandStartX, e.BandStartY, x, y, s.AdditiveSelect);
    } else if (!s.RightMoved) {
        result.OpenContextMenu = true;
    }
    e.EditMode = 0;
    return result;
}
