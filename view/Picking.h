// Picking and choosing objects with the mouse, the rubber band, and creating objects at a click.
// Plain calls on the engine, so that they are tested without a window; the editor window only
// forwards its events (Gestures.h).
#pragma once

#include "Engine.h"
#include "NetJournal.h"

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

// The object under the screen point: transitions first, then vertices, then connections, each
// from the last created to the first; none when nothing is there. It looks only at the
// candidates of the net's picking index (PickIndex.h).
TObjectRef HitTest(const TEngine& engine, int x, int y);
// The same by a walk over every object: the reference the index is checked against.
TObjectRef HitTestLinear(const TEngine& engine, int x, int y);

// The vertices and then the transitions inside the rubber band between two screen corners,
// each kind in array order, through the picking index and by a walk over every object.
std::vector<TObjectRef> ObjectsInBand(const TEngine& engine, int x1, int y1, int x2, int y2);
std::vector<TObjectRef> ObjectsInBandLinear(const TEngine& engine, int x1, int y1, int x2, int y2);

// How a click or a band changes the selection: it replaces it, or (Shift or Ctrl held) extends
// it, a click then toggling the object it hits.
enum class TSelectMode { Replace, Extend };

void HoverPick(TEngine& engine, int x, int y);
void ClearPicked(TEngine& engine);
void ClearChoiced(TEngine& engine);
void ChooseObject(TEngine& engine, TObjectRef object, TSelectMode mode);
// A click: true when it hit an object.
bool ClickSelect(TEngine& engine, int x, int y, TSelectMode mode);
bool IsChosenAt(const TEngine& engine, int x, int y);

// The rubber band between two screen corners: previewed in the picked list, committed to the
// chosen list.
void BandPreview(TEngine& engine, int x1, int y1, int x2, int y2, TSelectMode mode);
void BandCommit(TEngine& engine, int x1, int y1, int x2, int y2, TSelectMode mode);
// A connection is in the list exactly when both its ends are.
void SyncConnectionLists(TEngine& engine, TListRole role);

// Creates what the waiting creation tool asks for at the click, then returns to emIdle. With a
// journal, what it creates or changes is recorded there.
void CreateAtPoint(TEngine& engine, int x, int y, TNetJournal* journal = nullptr);

// The check of the connection tools: nothing when exactly one vertex (or, for an ordinary
// connection, one transition) is chosen; otherwise the message that refuses the tool (UTF-8).
std::optional<std::string> ConnectionToolRefusal(const TEngine& engine, bool informational);

// Deletes every chosen object, from the last entry of the selection to the first; an object
// already deleted with an earlier one is skipped. With a journal, the deletions are recorded.
void DeleteChosenObjects(TEngine& engine, TNetJournal* journal = nullptr);

// The first chosen object when it is of the kind, else none. `onlyOne` also asks that it be the
// only chosen object.
template <typename Object> Object* FirstChosen(const TEngine& engine, bool onlyOne = false) {
    const auto& items = engine.Choiced.Items;
    if (items.empty() || (onlyOne && items.size() != 1))
        return nullptr;
    if constexpr (std::is_same_v<Object, TVertex>)
        return items[0].Vertex();
    else if constexpr (std::is_same_v<Object, TTransition>)
        return items[0].Transition();
    else
        return items[0].Connection();
}
