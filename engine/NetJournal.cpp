#include "NetJournal.h"

#include "LaunchBuffer.h"
#include "Monitoring.h"

#include <algorithm>
#include <type_traits>
#include <utility>
#include <variant>

namespace {

// The statistics of an object set aside when its monitoring was switched off, with the stamp of
// the run at that moment.
struct TKeptStatistics {
    bool Held = false;
    TRunStamp Stamp;
    HistoryList History;
    std::int32_t Counters[4] = {};
};

void SwapStatistics(TVertex& v, TKeptStatistics& kept) {
    std::swap(v.History, kept.History);
    std::swap(v.ChangeCount, kept.Counters[0]);
    std::swap(v.ReceivedTotal, kept.Counters[1]);
    std::swap(v.MinMarking, kept.Counters[2]);
    std::swap(v.MaxMarking, kept.Counters[3]);
}

void SwapStatistics(TTransition& t, TKeptStatistics& kept) {
    std::swap(t.History, kept.History);
    std::swap(t.LaunchCount, kept.Counters[0]);
    std::swap(t.MinBuffer, kept.Counters[1]);
    std::swap(t.MaxBuffer, kept.Counters[2]);
}

// Switches monitoring off, keeping the statistics aside.
template <typename Object>
void StopKeeping(TEngine& engine, Object& object, TKeptStatistics& kept) {
    kept = TKeptStatistics{};
    SwapStatistics(object, kept);
    kept.Held = true;
    kept.Stamp = RunStampOf(engine.Net);
    object.IsMonitoring = true; // so that StopMonitoring resets the counters it swapped in
    StopMonitoring(object);
}

// Switches monitoring on: the statistics kept aside come back when the run has not moved since
// they were kept; otherwise new statistics start now.
template <typename Object>
void StartRestoring(TEngine& engine, Object& object, TKeptStatistics& kept) {
    if (kept.Held && kept.Stamp == RunStampOf(engine.Net)) {
        object.IsMonitoring = true;
        SwapStatistics(object, kept);
    } else {
        StartMonitoring(object, engine.Net.ModelTime);
    }
    kept = TKeptStatistics{};
}

// An object that was out of the net while the run went on comes back without what it held of
// that time: its launches in progress (they would end in the past) and its statistics (they
// would skip the gap) start afresh.
void Settle(TEngine& engine, TObjectRef object) {
    const double now = engine.Net.ModelTime;
    if (TVertex* v = object.Vertex(); v != nullptr && v->IsMonitoring) {
        StopMonitoring(*v);
        StartMonitoring(*v, now);
    } else if (TTransition* t = object.Transition()) {
        BufferClear(t->LaunchBuffer);
        if (t->IsMonitoring) {
            StopMonitoring(*t);
            StartMonitoring(*t, now);
        }
    }
}

bool IsMarking(const TStoredField<TVertex>& field) {
    const auto* member = std::get_if<std::int32_t TVertex::*>(&field.Member);
    return member != nullptr && *member == &TVertex::Marking;
}

// An object added or removed by the edit.
struct TPresence {
    bool AddedByEdit = false;
    TObjectRef Object;
    TDetachedObject Held; // the object while it is out of the net
    TRunStamp LeftAt;

    void TakeOut(TEngine& engine) {
        Held = DetachObject(engine.Net, Object, &engine);
        LeftAt = RunStampOf(engine.Net);
    }
    void PutBack(TEngine& engine) {
        AttachObject(engine.Net, std::move(Held));
        if (!(RunStampOf(engine.Net) == LeftAt))
            Settle(engine, Object);
    }
};

template <typename Object> struct TFieldChange {
    Object* Target = nullptr;
    Object Before; // stored values of the changed fields before the edit
    Object After;
    std::vector<bool> Which;
    TKeptStatistics Kept;

    // Gives the target the values of the marked fields.
    void Apply(TEngine& engine, const Object& values) {
        MarkShapesChanged(engine.Net); // the fields may hold a place or a size
        bool monitoring = false;
        bool monitoringChanged = false;
        bool markingChanged = false;
        const auto fields = StoredFields<Object>();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const TStoredField<Object>& field = fields[i];
            if (!Which[i] || IsEndField(field.Kind))
                continue;
            if (field.Role == srMonitoring) {
                monitoring = StoredValue<bool>(field, values);
                monitoringChanged = monitoring != StoredValue<bool>(field, *Target);
                continue;
            }
            CopyStoredValue(field, *Target, values);
            if constexpr (std::is_same_v<Object, TVertex>)
                markingChanged = markingChanged || IsMarking(field);
        }
        if constexpr (!std::is_same_v<Object, TConnection>) {
            if (monitoringChanged && monitoring)
                StartRestoring(engine, *Target, Kept);
            else if (monitoringChanged)
                StopKeeping(engine, *Target, Kept);
        }
        if constexpr (std::is_same_v<Object, TVertex>) {
            if (markingChanged && !(monitoringChanged && monitoring))
                RecordUserMarking(*Target, engine.Net.ModelTime);
        }
    }
};

struct TMove {
    std::vector<TObjectRef> Objects;
    std::int32_t Dx = 0;
    std::int32_t Dy = 0;

    void Shift(TEngineNet& net, std::int32_t dx, std::int32_t dy) const {
        MoveObjects(net, Objects, dx, dy);
    }
};

// Sets the model time as clearing the net does: the count of events at one instant starts over,
// as time may go back.
void SetModelTime(TEngineNet& net, double time) {
    net.ModelTime = time;
    net.CountedInstant = time;
    net.EventsBeforeInstant = net.EventCount;
}

struct TTimeChange {
    double Before = 0;
    double After = 0;
};

template <typename Object> std::vector<bool> ChangedFieldsOf(const Object& a, const Object& b) {
    const auto fields = StoredFields<Object>();
    std::vector<bool> which(fields.size(), false);
    for (std::size_t i = 0; i < fields.size(); ++i)
        which[i] = !IsEndField(fields[i].Kind) && !SameStoredValue(fields[i], a, b);
    return which;
}

template <typename Object>
std::unique_ptr<TFieldChange<Object>> MakeFieldChange(Object& target, const Object& values,
                                                      const std::vector<bool>& which) {
    auto change = std::make_unique<TFieldChange<Object>>();
    change->Target = &target;
    change->Before = StoredCopy(target);
    change->After = StoredCopy(values);
    change->Which = which;
    change->Which.resize(StoredFields<Object>().size(), false);
    return change;
}

} // namespace

struct TNetJournal::TStep {
    std::variant<TPresence, std::unique_ptr<TFieldChange<TVertex>>,
                 std::unique_ptr<TFieldChange<TTransition>>,
                 std::unique_ptr<TFieldChange<TConnection>>, TMove, TTimeChange>
        What;
};

TRunStamp RunStampOf(const TEngineNet& net) {
    return {net.ModelTime, net.EventCount, net.RunResets};
}

TNetSizes SizesOf(const TEngineNet& net) {
    return {net.Vertices.size(), net.Transitions.size(), net.Connections.size()};
}

TNetJournal::TNetJournal() = default;
TNetJournal::~TNetJournal() = default;
TNetJournal::TNetJournal(TNetJournal&&) noexcept = default;
TNetJournal& TNetJournal::operator=(TNetJournal&&) noexcept = default;

bool TNetJournal::Empty() const {
    return Steps.empty();
}

bool TNetJournal::ChangesModelTime() const {
    return std::any_of(Steps.begin(), Steps.end(), [](const std::unique_ptr<TStep>& step) {
        return std::holds_alternative<TTimeChange>(step->What);
    });
}

void TNetJournal::AddedSince(const TEngineNet& net, const TNetSizes& before) {
    auto add = [this](TObjectRef object) {
        auto step = std::make_unique<TStep>();
        TPresence added;
        added.AddedByEdit = true;
        added.Object = object;
        step->What = std::move(added);
        Steps.push_back(std::move(step));
    };
    for (std::size_t i = before.Vertices; i < net.Vertices.size(); ++i)
        add(net.Vertices[i].get());
    for (std::size_t i = before.Transitions; i < net.Transitions.size(); ++i)
        add(net.Transitions[i].get());
    for (std::size_t i = before.Connections; i < net.Connections.size(); ++i)
        add(net.Connections[i].get());
}

void TNetJournal::Delete(TEngine& engine, TObjectRef object) {
    TDetachedObjects kept;
    if (TVertex* v = object.Vertex())
        DeleteVertex(engine.Net, v->Index, &engine, &kept);
    else if (TTransition* t = object.Transition())
        DeleteTransition(engine.Net, t->Index, &engine, &kept);
    else if (TConnection* c = object.Connection())
        DeleteConnection(engine.Net, c->Index, &engine, &kept);
    for (TDetachedObject& detached : kept) {
        auto step = std::make_unique<TStep>();
        const TObjectRef ref = detached.Ref();
        step->What = TPresence{.AddedByEdit = false,
                               .Object = ref,
                               .Held = std::move(detached),
                               .LeftAt = RunStampOf(engine.Net)};
        Steps.push_back(std::move(step));
    }
}

void TNetJournal::ClearNet(TEngine& engine) {
    const double before = engine.Net.ModelTime;
    while (!engine.Net.Vertices.empty())
        Delete(engine, engine.Net.Vertices.back().get());
    while (!engine.Net.Transitions.empty())
        Delete(engine, engine.Net.Transitions.back().get());
    // The time goes last, so that undoing sets it back before the objects return: they find
    // the run where they left it.
    SetModelTime(engine.Net, 0);
    auto time = std::make_unique<TStep>();
    time->What = TTimeChange{before, 0};
    Steps.push_back(std::move(time));
}

template <typename Object>
void TNetJournal::SetFieldsOf(TEngine& engine, Object& object, const Object& values,
                              const std::vector<bool>& which) {
    if (std::find(which.begin(), which.end(), true) == which.end())
        return;
    auto change = MakeFieldChange(object, values, which);
    change->Apply(engine, change->After);
    auto step = std::make_unique<TStep>();
    step->What = std::move(change);
    Steps.push_back(std::move(step));
}

void TNetJournal::SetFields(TEngine& engine, TVertex& vertex, const TVertex& values,
                            const std::vector<bool>& which) {
    SetFieldsOf(engine, vertex, values, which);
}

void TNetJournal::SetFields(TEngine& engine, TTransition& transition, const TTransition& values,
                            const std::vector<bool>& which) {
    SetFieldsOf(engine, transition, values, which);
}

void TNetJournal::SetFields(TEngine& engine, TConnection& connection, const TConnection& values,
                            const std::vector<bool>& which) {
    SetFieldsOf(engine, connection, values, which);
}

void TNetJournal::Moved(std::vector<TObjectRef> objects, std::int32_t dx, std::int32_t dy) {
    if (objects.empty() || (dx == 0 && dy == 0))
        return;
    auto step = std::make_unique<TStep>();
    step->What = TMove{std::move(objects), dx, dy};
    Steps.push_back(std::move(step));
}

void TNetJournal::Undo(TEngine& engine) {
    for (auto step = Steps.rbegin(); step != Steps.rend(); ++step) {
        std::visit(
            [&](auto& what) {
                using T = std::decay_t<decltype(what)>;
                if constexpr (std::is_same_v<T, TPresence>) {
                    if (what.AddedByEdit)
                        what.TakeOut(engine);
                    else
                        what.PutBack(engine);
                } else if constexpr (std::is_same_v<T, TMove>) {
                    what.Shift(engine.Net, -what.Dx, -what.Dy);
                } else if constexpr (std::is_same_v<T, TTimeChange>) {
                    SetModelTime(engine.Net, what.Before);
                } else {
                    what->Apply(engine, what->Before);
                }
            },
            (*step)->What);
    }
}

void TNetJournal::Redo(TEngine& engine) {
    for (auto& step : Steps) {
        std::visit(
            [&](auto& what) {
                using T = std::decay_t<decltype(what)>;
                if constexpr (std::is_same_v<T, TPresence>) {
                    if (what.AddedByEdit)
                        what.PutBack(engine);
                    else
                        what.TakeOut(engine);
                } else if constexpr (std::is_same_v<T, TMove>) {
                    what.Shift(engine.Net, what.Dx, what.Dy);
                } else if constexpr (std::is_same_v<T, TTimeChange>) {
                    SetModelTime(engine.Net, what.After);
                } else {
                    what->Apply(engine, what->After);
                }
            },
            step->What);
    }
}

std::vector<bool> ChangedFields(const TVertex& a, const TVertex& b) {
    return ChangedFieldsOf(a, b);
}
std::vector<bool> ChangedFields(const TTransition& a, const TTransition& b) {
    return ChangedFieldsOf(a, b);
}
std::vector<bool> ChangedFields(const TConnection& a, const TConnection& b) {
    return ChangedFieldsOf(a, b);
}
