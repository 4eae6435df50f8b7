// The record of one edit of a net, step by step, so that the edit can be undone and redone
// exactly: the net afterwards saves to the same bytes as before, its objects stand in the same
// positions, and an object taken out and put back is the very same object (pointers to it stay
// good). The editor keeps one journal per user action on its undo stack.
//
// Undo and redo expect the net as the journal left it: every later edit has been undone first.
// Runs may go on in between; they change markings, launch buffers and statistics, never the
// objects, so the positions the journal holds stay right.
#pragma once

#include "Engine.h"
#include "NetObjects.h"
#include "StoredFields.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Where the run stood: model time, the events carried out and the resets made by hand.
// Statistics kept aside at one stamp are restored only at the same stamp, so that no history
// skips the time the run went on or outlives a reset.
struct TRunStamp {
    double ModelTime = 0;
    std::uint64_t EventCount = 0;
    std::uint64_t RunResets = 0;
    friend bool operator==(const TRunStamp&, const TRunStamp&) = default;
};
TRunStamp RunStampOf(const TEngineNet& net);

// How many objects of each kind the net holds; objects created after such a count are recorded
// with TNetJournal::AddedSince.
struct TNetSizes {
    std::size_t Vertices = 0;
    std::size_t Transitions = 0;
    std::size_t Connections = 0;
};
TNetSizes SizesOf(const TEngineNet& net);

class TNetJournal {
public:
    TNetJournal();
    ~TNetJournal();
    TNetJournal(TNetJournal&&) noexcept;
    TNetJournal& operator=(TNetJournal&&) noexcept;

    bool Empty() const;
    // Whether replaying the journal sets the model time (a cleared net).
    bool ChangesModelTime() const;

    // Recording, as the edit is made.

    // The objects appended to the net since it held `before` (vertices, then transitions, then
    // connections, each in creation order).
    void AddedSince(const TEngineNet& net, const TNetSizes& before);
    // Deletes the object, with the connections of a vertex or a transition.
    void Delete(TEngine& engine, TObjectRef object);
    // Deletes every object and sets the model time to 0.
    void ClearNet(TEngine& engine);
    // Gives the object the stored values of `values` for the fields marked in `which` (one flag
    // per entry of StoredFields, in that order; connection ends are never changed). Switching
    // the monitoring flag starts or ends the statistics, and a marking given to a monitored
    // vertex enters its history.
    void SetFields(TEngine& engine, TVertex& vertex, const TVertex& values,
                   const std::vector<bool>& which);
    void SetFields(TEngine& engine, TTransition& transition, const TTransition& values,
                   const std::vector<bool>& which);
    void SetFields(TEngine& engine, TConnection& connection, const TConnection& values,
                   const std::vector<bool>& which);
    // The vertices and transitions were moved by (dx, dy) model units; the move is already made.
    void Moved(std::vector<TObjectRef> objects, std::int32_t dx, std::int32_t dy);

    // Replaying.
    void Undo(TEngine& engine);
    void Redo(TEngine& engine);

private:
    struct TStep;
    template <typename Object>
    void SetFieldsOf(TEngine& engine, Object& object, const Object& values,
                     const std::vector<bool>& which);
    std::vector<std::unique_ptr<TStep>> Steps;
};

// The flags of the stored fields whose values differ between two records of one kind.
std::vector<bool> ChangedFields(const TVertex& a, const TVertex& b);
std::vector<bool> ChangedFields(const TTransition& a, const TTransition& b);
std::vector<bool> ChangedFields(const TConnection& a, const TConnection& b);

// Changes the stored fields of the object through `change` on a copy of its stored values, and
// records the fields that changed.
template <typename Object>
void ChangeFields(TNetJournal& journal, TEngine& engine, Object& object,
                  const std::function<void(Object&)>& change) {
    Object values = StoredCopy(object);
    change(values);
    journal.SetFields(engine, object, values, ChangedFields(StoredCopy(object), values));
}
