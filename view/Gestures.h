// The mouse gestures of the editor: press, move and release in window pixels. The editor window
// forwards its events here and acts on what they ask for.
#pragma once

#include "Engine.h"
#include "Picking.h"

enum TMouseButton { mbLeft = 1, mbRight = 2 };

// Gesture state of the editor window.
struct TEditorState {
    int LastMouseX = 0;
    int LastMouseY = 0;
    bool LeftMoved = false;
    bool RightMoved = false;
    bool ChosenOnPress = false;
    bool SkipNextRelease = false; // set by a double click: its release ends the gesture only
    std::int32_t MovedX = 0;      // model units the chosen objects moved since the left press
    std::int32_t MovedY = 0;
    TSelectMode SelectMode = TSelectMode::Replace; // Extend while Shift or Ctrl is held
};

struct TGestureResult {
    bool CreatedObject = false; // a creation mode was used up: the window shows the no-tool button
    bool OpenContextMenu = false; // a right click without a drag
    bool ZoomChanged = false;     // the window shows the zoom text
};

// The journal, when given, records the object a creation tool makes on the press and the move of
// a drag on the release, each whole.
TGestureResult Press(TEngine& engine, TEditorState& state, TMouseButton button, int x, int y,
                     TNetJournal* journal = nullptr);
// `buttons` is the set of buttons held (mbLeft | mbRight).
TGestureResult Move(TEngine& engine, TEditorState& state, int buttons, int x, int y);
TGestureResult Release(TEngine& engine, TEditorState& state, TMouseButton button, int x, int y,
                       TNetJournal* journal = nullptr);
// Records the move the drag has made so far as one move of the chosen objects.
void RecordDrag(const TEngine& engine, TEditorState& state, TNetJournal& journal);
// Escape: a drag puts the objects back where it found them, a rubber band is dropped, a waiting
// creation tool is put away. True when there was something to cancel.
bool CancelGesture(TEngine& engine, TEditorState& state);
