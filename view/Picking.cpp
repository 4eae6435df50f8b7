#include "Picking.h"

#include "Geometry.h"
#include "IntegerMath.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "PickIndex.h"
#include "Viewport.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace {

bool IsExactly(const TEnginePickedChoiced& list, TObjectRef object) {
    return list.Items.size() == 1 && list.Items[0] == object;
}

TEnginePickedChoiced& ListOf(TEngine& e, TListRole role) {
    return role == TListRole::Chosen ? e.Choiced : e.Picked;
}

// A picked object that is also chosen keeps its choice colours: it enters or leaves the picked
// list without a fade.
TFade FadeUnlessChosen(const TEngine& e, TObjectRef object) {
    return ContainsObject(e.Choiced, object) ? TFade::Instant : TFade::Animate;
}

void Add(TEngine& e, TListRole role, TObjectRef object, TFade fade) {
    AddEntry(ListOf(e, role), object, e.Graph, role, fade);
}

void Remove(TEngine& e, TListRole role, TObjectRef object) {
    RemoveObject(ListOf(e, role), object, &e.Graph, role, TFade::Animate);
}

struct TBand {
    double Left, Top, Right, Bottom;
};

TBand ModelBand(const TEngine& e, int x1, int y1, int x2, int y2) {
    const TPoint a = ScreenToModel(e.Graph, std::min(x1, x2), std::min(y1, y2));
    const TPoint b = ScreenToModel(e.Graph, std::max(x1, x2), std::max(y1, y2));
    return {static_cast<double>(a.X), static_cast<double>(a.Y), static_cast<double>(b.X),
            static_cast<double>(b.Y)};
}

bool Inside(const TBand& b, const TVertex& v) {
    const double half = v.Radius / 1.3;
    return !(b.Left > v.X + half) && b.Right >= v.X - half && !(b.Top > v.Y + half) &&
           b.Bottom >= v.Y - half;
}

bool Inside(const TBand& b, const TTransition& t) {
    return static_cast<double>(t.X) + t.Width >= b.Left &&
           b.Right >= static_cast<double>(t.X) - t.Width &&
           static_cast<double>(t.Y) + t.Height >= b.Top &&
           b.Bottom >= static_cast<double>(t.Y) - t.Height;
}

// The object an entry names, as a key of the sets below: objects of all kinds have distinct
// addresses.
const void* AddressOf(TObjectRef object) {
    if (const TVertex* v = object.Vertex())
        return v;
    if (const TTransition* t = object.Transition())
        return t;
    return object.Connection();
}

// The objects of a list, looked up in constant time: a band over a large net adds hundreds of
// objects, and the list itself is searched entry by entry.
std::unordered_set<const void*> MembersOf(const TEnginePickedChoiced& list) {
    std::unordered_set<const void*> members;
    members.reserve(list.Items.size());
    for (const TObjectRef& item : list.Items)
        members.insert(AddressOf(item));
    return members;
}

// Adds every vertex and then every transition inside the band that the list lacks.
void AddInside(TEngine& e, const std::vector<TObjectRef>& inside, TListRole role) {
    TEnginePickedChoiced& list = ListOf(e, role);
    const std::unordered_set<const void*> members = MembersOf(list);
    const std::unordered_set<const void*> chosen =
        role == TListRole::Picked ? MembersOf(e.Choiced) : std::unordered_set<const void*>{};
    for (const TObjectRef& object : inside) {
        if (members.contains(AddressOf(object)))
            continue; // the band's objects are distinct, so the list gains no duplicate
        const bool animate = role == TListRole::Chosen || !chosen.contains(AddressOf(object));
        Add(e, role, object, animate ? TFade::Animate : TFade::Instant);
    }
}

bool HitsTransition(const TTransition& t, TPoint m) {
    return std::abs(static_cast<double>(m.X) - t.X) <= t.Width + 10.0 &&
           std::abs(static_cast<double>(m.Y) - t.Y) <= t.Height + 10.0;
}

bool HitsVertex(const TVertex& v, TPoint m) {
    return PointDistance(v.X, v.Y, m.X, m.Y) <= v.Radius + RoundToInt(v.LineWidth / 2.0);
}

bool HitsConnection(const TConnection& c, TPoint m) {
    const TConnectionEnds ends = ConnectionEnds(c);
    const double angle = VectorAngle(ends.P1.X, ends.P1.Y, ends.P2.X, ends.P2.Y);
    const std::int32_t fromStart = PointDistance(ends.P1.X, ends.P1.Y, m.X, m.Y);
    const std::int32_t length = PointDistance(ends.P1.X, ends.P1.Y, ends.P2.X, ends.P2.Y);
    if (fromStart > length + 2.0 * c.Width)
        return false;
    const TPoint q = PolarPoint(ends.P1.X, ends.P1.Y, fromStart, angle);
    return PointDistance(q.X, q.Y, m.X, m.Y) <= c.Width + 15;
}

bool IsFar(TPoint m) {
    return std::abs(static_cast<double>(m.X)) > kPickIndexReach ||
           std::abs(static_cast<double>(m.Y)) > kPickIndexReach;
}

TConnection* FindVT(TVertex* v, TTransition* t) {
    for (TConnection* c : v->OutConnections)
        if (c->ConnectionType == ctVT && c->Transition == t)
            return c;
    return nullptr;
}

} // namespace

TObjectRef HitTestLinear(const TEngine& e, int x, int y) {
    const TPoint m = ScreenToModel(e.Graph, x, y);
    const TEngineNet& net = e.Net;
    for (auto t = net.Transitions.rbegin(); t != net.Transitions.rend(); ++t)
        if (HitsTransition(**t, m))
            return t->get();
    for (auto v = net.Vertices.rbegin(); v != net.Vertices.rend(); ++v)
        if (HitsVertex(**v, m))
            return v->get();
    for (auto c = net.Connections.rbegin(); c != net.Connections.rend(); ++c)
        if (HitsConnection(**c, m))
            return c->get();
    return {};
}

TObjectRef HitTest(const TEngine& e, int x, int y) {
    const TPoint m = ScreenToModel(e.Graph, x, y);
    if (IsFar(m))
        return HitTestLinear(e, x, y);
    const TEngineNet& net = e.Net;
    const TPickIndex& index = CurrentPickIndex(net);
    // Every object that can be hit at the point is listed in its cell or everywhere; the
    // candidates come from the last position to the first, as the walk over the arrays takes
    // them, so the first that is hit is the one the walk finds.
    const std::int32_t cell = CellAt(index, m.X, m.Y);
    const std::int32_t t = LastHitAt(index.Transitions, cell, [&](std::int32_t i) {
        return HitsTransition(*net.Transitions[static_cast<std::size_t>(i)], m);
    });
    if (t >= 0)
        return net.Transitions[static_cast<std::size_t>(t)].get();
    const std::int32_t v = LastHitAt(index.Vertices, cell, [&](std::int32_t i) {
        return HitsVertex(*net.Vertices[static_cast<std::size_t>(i)], m);
    });
    if (v >= 0)
        return net.Vertices[static_cast<std::size_t>(v)].get();
    const std::int32_t c = LastHitAt(index.Connections, cell, [&](std::int32_t i) {
        return HitsConnection(*net.Connections[static_cast<std::size_t>(i)], m);
    });
    if (c >= 0)
        return net.Connections[static_cast<std::size_t>(c)].get();
    return {};
}

std::vector<TObjectRef> ObjectsInBandLinear(const TEngine& e, int x1, int y1, int x2, int y2) {
    const TBand band = ModelBand(e, x1, y1, x2, y2);
    std::vector<TObjectRef> inside;
    for (const auto& v : e.Net.Vertices)
        if (Inside(band, *v))
            inside.push_back(v.get());
    for (const auto& t : e.Net.Transitions)
        if (Inside(band, *t))
            inside.push_back(t.get());
    return inside;
}

std::vector<TObjectRef> ObjectsInBand(const TEngine& e, int x1, int y1, int x2, int y2) {
    const TBand band = ModelBand(e, x1, y1, x2, y2);
    const TEngineNet& net = e.Net;
    const TPickIndex& index = CurrentPickIndex(net);
    const TModelBox box{band.Left, band.Top, band.Right, band.Bottom};
    std::vector<TObjectRef> inside;
    for (std::int32_t i : CandidatesIn(index, index.Vertices, net.Vertices.size(), box))
        if (Inside(band, *net.Vertices[static_cast<std::size_t>(i)]))
            inside.push_back(net.Vertices[static_cast<std::size_t>(i)].get());
    for (std::int32_t i : CandidatesIn(index, index.Transitions, net.Transitions.size(), box))
        if (Inside(band, *net.Transitions[static_cast<std::size_t>(i)]))
            inside.push_back(net.Transitions[static_cast<std::size_t>(i)].get());
    return inside;
}

void HoverPick(TEngine& e, int x, int y) {
    const TObjectRef hit = HitTest(e, x, y);
    if (!hit) {
        ClearPicked(e);
        return;
    }
    if (IsExactly(e.Picked, hit))
        return;
    ClearPicked(e);
    Add(e, TListRole::Picked, hit, FadeUnlessChosen(e, hit));
}

void ClearPicked(TEngine& e) {
    for (std::int32_t i = static_cast<std::int32_t>(e.Picked.Items.size()) - 1; i >= 0; --i)
        RemoveEntryAt(e.Picked, i, e.Graph, TListRole::Picked,
                      FadeUnlessChosen(e, e.Picked.Items[i]));
}

void ClearChoiced(TEngine& e) {
    for (std::int32_t i = static_cast<std::int32_t>(e.Choiced.Items.size()) - 1; i >= 0; --i)
        RemoveEntryAt(e.Choiced, i, e.Graph, TListRole::Chosen,
                      ContainsObject(e.Picked, e.Choiced.Items[i]) ? TFade::Instant
                                                                   : TFade::Animate);
}

void ChooseObject(TEngine& e, TObjectRef o, TSelectMode mode) {
    if (mode == TSelectMode::Extend) {
        if (ContainsObject(e.Choiced, o))
            Remove(e, TListRole::Chosen, o);
        else
            Add(e, TListRole::Chosen, o, TFade::Animate);
        return;
    }
    if (IsExactly(e.Choiced, o))
        return;
    ClearChoiced(e);
    Add(e, TListRole::Chosen, o, TFade::Animate);
}

bool ClickSelect(TEngine& e, int x, int y, TSelectMode mode) {
    const TObjectRef hit = HitTest(e, x, y);
    if (mode == TSelectMode::Extend) {
        if (!hit)
            return false;
        ChooseObject(e, hit, TSelectMode::Extend);
        if (e.Choiced.Items.size() > 1)
            SyncConnectionLists(e, TListRole::Chosen);
        return true;
    }
    if (hit) {
        ChooseObject(e, hit, TSelectMode::Replace);
        return true;
    }
    ClearChoiced(e);
    return false;
}

bool IsChosenAt(const TEngine& e, int x, int y) {
    const TObjectRef hit = HitTest(e, x, y);
    return hit && ContainsObject(e.Choiced, hit);
}

void BandPreview(TEngine& e, int x1, int y1, int x2, int y2, TSelectMode mode) {
    if (mode == TSelectMode::Replace)
        ClearPicked(e);
    AddInside(e, ObjectsInBand(e, x1, y1, x2, y2), TListRole::Picked);
    SyncConnectionLists(e, TListRole::Picked);
}

void BandCommit(TEngine& e, int x1, int y1, int x2, int y2, TSelectMode mode) {
    if (mode == TSelectMode::Replace)
        ClearChoiced(e);
    AddInside(e, ObjectsInBand(e, x1, y1, x2, y2), TListRole::Chosen);
    SyncConnectionLists(e, TListRole::Chosen);
}

void SyncConnectionLists(TEngine& e, TListRole role) {
    TEnginePickedChoiced& list = ListOf(e, role);
    const std::unordered_set<const void*> members = MembersOf(list);
    const std::unordered_set<const void*> chosen =
        role == TListRole::Picked ? MembersOf(e.Choiced) : std::unordered_set<const void*>{};
    // Only a connection whose vertex is in the list or that is in it itself can be added or
    // removed; they are visited in array order, as a walk over every connection visits them.
    // Adding or removing a connection changes the answer for no other connection.
    std::vector<TConnection*> candidates;
    for (const TObjectRef& item : list.Items) {
        if (const TVertex* v = item.Vertex()) {
            candidates.insert(candidates.end(), v->InConnections.begin(), v->InConnections.end());
            candidates.insert(candidates.end(), v->OutConnections.begin(), v->OutConnections.end());
        } else if (TConnection* c = item.Connection()) {
            candidates.push_back(c);
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const TConnection* a, const TConnection* b) { return a->Index < b->Index; });
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (TConnection* c : candidates) {
        if (role == TListRole::Picked && chosen.contains(c))
            continue;
        const bool ends = members.contains(c->Vertex) && members.contains(c->Transition);
        const bool present = members.contains(c);
        if (ends && !present)
            Add(e, role, c, TFade::Animate);
        else if (!ends && present)
            Remove(e, role, c);
    }
}

void CreateAtPoint(TEngine& e, int x, int y, TNetJournal* journal) {
    TNetJournal unrecorded;
    TNetJournal& j = journal != nullptr ? *journal : unrecorded;
    const TNetSizes before = SizesOf(e.Net);
    const TPoint m = ScreenToModel(e.Graph, x, y);
    const TEngineGraphOptions* options = &e.Graph.Options;
    const TEditMode mode = e.EditMode;
    e.EditMode = emIdle;
    if (mode == emCreateVertex) {
        CreateVertex(e.Net, "", e.BaseVertexMark, m.X, m.Y, options);
    } else if (mode == emCreateTransition) {
        CreateTransition(e.Net, "", m.X, e.BaseTransitionDelay, m.Y, options);
    } else if ((mode == emCreateConnection || mode == emCreateInformConnection) &&
               !e.Choiced.Items.empty() && !e.Picked.Items.empty()) {
        const TObjectRef source = e.Choiced.Items.front();
        const TObjectRef target = e.Picked.Items.front();
        if (source.Kind() == okVertex && target.Kind() == okTransition) {
            TVertex* v = source.Vertex();
            TTransition* t = target.Transition();
            const bool inform = mode == emCreateInformConnection;
            if (TConnection* existing = FindVT(v, t)) {
                ChangeFields<TConnection>(j, e, *existing, [inform](TConnection& c) {
                    if (c.IsInform == inform)
                        c.Count = WrapAdd(c.Count, 1);
                    else
                        c.IsInform = inform;
                });
            } else {
                CreateConnection(e.Net, ctVT, 1, v, t, options)->IsInform = inform;
            }
        } else if (mode == emCreateConnection && source.Kind() == okTransition &&
                   target.Kind() == okVertex) {
            TVertex* v = target.Vertex();
            TTransition* t = source.Transition();
            const auto existing = std::find_if(
                t->OutConnections.begin(), t->OutConnections.end(),
                [v](const TConnection* c) { return c->ConnectionType == ctTV && c->Vertex == v; });
            if (existing != t->OutConnections.end())
                ChangeFields<TConnection>(j, e, **existing,
                                          [](TConnection& c) { c.Count = WrapAdd(c.Count, 1); });
            else
                CreateConnection(e.Net, ctTV, 1, v, t, options);
        }
    }
    j.AddedSince(e.Net, before);
}

std::optional<std::string> ConnectionToolRefusal(const TEngine& e, bool informational) {
    const bool one = e.Choiced.Items.size() == 1;
    const TObjectKind kind = one ? e.Choiced.Items[0].Kind() : okNone;
    if (informational) {
        if (kind == okVertex)
            return std::nullopt;
        return "Не вибрана початкова вершина.";
    }
    if (kind == okVertex || kind == okTransition)
        return std::nullopt;
    return "Не вибрана початкова вершина чи перехід.";
}

void DeleteChosenObjects(TEngine& e, TNetJournal* journal) {
    TNetJournal unrecorded;
    TNetJournal& j = journal != nullptr ? *journal : unrecorded;
    const std::vector<TObjectRef> chosen = e.Choiced.Items;
    for (auto entry = chosen.rbegin(); entry != chosen.rend(); ++entry)
        if (ContainsObject(e.Choiced, *entry)) // else it went with an object deleted before it
            j.Delete(e, *entry);
}
