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
    TSelectMode SelectMode = TSelectMode::Replace; // Extend while Shift or Ctrl is held
};

struct TGestureResult {
    bool CreatedObject = false; // a creation mode was used up: the window shows the no-tool button
    bool OpenContextMenu = false; // a right click without a drag
    bool ZoomChanged = false;     // the window shows the zoom text
};

TGestureResult Press(TEngine& engine, TEditorState& state, TMouseButton button, int x, int y);
// `buttons` is the set of buttons held (mbLeft | mbRight).
TGestureResult Move(TEngine& engine, TEditorState& state, int buttons, int x, int y);
TGestureResult Release(TEngine& engine, TEditorState& state, TMouseButton button, int x, int y);
