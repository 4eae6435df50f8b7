#include "Picking.h"

#include "Geometry.h"
#include "IntegerMath.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "Viewport.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsExactly(const TEnginePickedChoiced& list, const void* object) {
    return list.Items.size() == 1 && list.Items[0].Object == object;
}

void Add(TEngine& e, bool chosenList, std::int32_t kind, void* object, bool animate) {
    AddEntry(chosenList ? e.Choiced : e.Picked, kind, object, e.Graph, chosenList, animate);
}

void Remove(TEngine& e, bool chosenList, const void* object) {
    RemoveObject(chosenList ? e.Choiced : e.Picked, object, &e.Graph, chosenList, true);
}

struct TBand {
    double Left, Top, Right, Bottom;
};

TBand ModelBand(const TEngine& e, int x1, int y1, int x2, int y2) {
    const TPoint a = ScreenToModel(e.Graph, std::min(x1, x2), std::min(y1, y2));
    const TPoint b = ScreenToModel(e.Graph, std::max(x1, x2), std::max(y1, y2));
    return {static_cast<double>(a.X), static_cast<double>(a.Y), static_cast<double>(b.X), static_cast<double>(b.Y)};
}

bool Inside(const TBand& b, const TVertex& v) {
    const double half = v.Radius / 1.3;
    return !(b.Left > v.X + half) && b.Right >= v.X - half && !(b.Top > v.Y + half) && b.Bottom >= v.Y - half;
}

bool Inside(const TBand& b, const TTransition& t) {
    return static_cast<double>(t.X) + t.Width >= b.Left && b.Right >= static_cast<double>(t.X) - t.Width &&
           static_cast<double>(t.Y) + t.Height >= b.Top && b.Bottom >= static_cast<double>(t.Y) - t.Height;
}

// Adds every vertex and then every transition inside the band that the list lacks.
void AddInside(TEngine& e, const TBand& band, bool chosenList) {
    TEnginePickedChoiced& list = chosenList ? e.Choiced : e.Picked;
    for (auto& v : e.Net.Vertices)
        if (Inside(band, *v) && !ContainsObject(list, v.get()))
            Add(e, chosenList, okVertex, v.get(), chosenList || !ContainsObject(e.Choiced, v.get()));
    for (auto& t : e.Net.Transitions)
        if (Inside(band, *t) && !ContainsObject(list, t.get()))
            Add(e, chosenList, okTransition, t.get(), chosenList || !ContainsObject(e.Choiced, t.get()));
}

TConnection* FindVT(TVertex* v, TTransition* t) {
    for (TConnection* c : v->OutConnections)
        if (c->ConnectionType == ctVT && c->Transition == t)
            return c;
    return nullptr;
}

} // namespace

THit HitTest(const TEngine& e, int x, int y) {
    const TPoint m = ScreenToModel(e.Graph, x, y);
    const TEngineNet& net = e.Net;
    for (auto t = net.Transitions.rbegin(); t != net.Transitions.rend(); ++t)
        if (std::abs(static_cast<double>(m.X) - (*t)->X) <= (*t)->Width + 10.0 &&
            std::abs(static_cast<double>(m.Y) - (*t)->Y) <= (*t)->Height + 10.0)
            return {okTransition, t->get()};
    for (auto v = net.Vertices.rbegin(); v != net.Vertices.rend(); ++v)
        if (PointDistance((*v)->X, (*v)->Y, m.X, m.Y) <= (*v)->Radius + RoundToInt((*v)->LineWidth / 2.0))
            return {okVertex, v->get()};
    for (auto c = net.Connections.rbegin(); c != net.Connections.rend(); ++c) {
        const TConnectionEnds ends = ConnectionEnds(**c);
        const double angle = VectorAngle(ends.P1.X, ends.P1.Y, ends.P2.X, ends.P2.Y);
        const std::int32_t fromStart = PointDistance(ends.P1.X, ends.P1.Y, m.X, m.Y);
        const std::int32_t length = PointDistance(ends.P1.X, ends.P1.Y, ends.P2.X, ends.P2.Y);
        if (fromStart > length + 2.0 * (*c)->Width)
            continue;
        const TPoint q = PolarPoint(ends.P1.X, ends.P1.Y, fromStart, angle);
        if (PointDistance(q.X, q.Y, m.X, m.Y) <= (*c)->Width + 15)
            return {okConnection, c->get()};
    }
    return {};
}

void HoverPick(TEngine& e, int x, int y) {
    const THit hit = HitTest(e, x, y);
    if (!hit) {
        ClearPicked(e);
        return;
    }
    if (IsExactly(e.Picked, hit.Object))
        return;
    ClearPicked(e);
    Add(e, false, hit.Kind, hit.Object, !ContainsObject(e.Choiced, hit.Object));
}

void ClearPicked(TEngine& e) {
    for (std::int32_t i = static_cast<std::int32_t>(e.Picked.Items.size()) - 1; i >= 0; --i)
        RemoveEntryAt(e.Picked, i, !ContainsObject(e.Choiced, e.Picked.Items[i].Object), e.Graph, false);
}

void ClearChoiced(TEngine& e) {
    for (std::int32_t i = static_cast<std::int32_t>(e.Choiced.Items.size()) - 1; i >= 0; --i)
        RemoveEntryAt(e.Choiced, i, !ContainsObject(e.Picked, e.Choiced.Items[i].Object), e.Graph, true);
}

void ChooseObject(TEngine& e, THit o, bool additive) {
    if (additive) {
        if (ContainsObject(e.Choiced, o.Object))
            Remove(e, true, o.Object);
        else
            Add(e, true, o.Kind, o.Object, true);
        return;
    }
    if (IsExactly(e.Choiced, o.Object))
        return;
    ClearChoiced(e);
    Add(e, true, o.Kind, o.Object, true);
}

bool ClickSelect(TEngine& e, int x, int y, bool additive) {
    const THit hit = HitTest(e, x, y);
    if (additive) {
        if (!hit)
            return false;
        ChooseObject(e, hit, true);
        if (e.Choiced.Items.size() > 1)
            SyncConnectionLists(e, true);
        return true;
    }
    if (hit) {
        ChooseObject(e, hit, false);
        return true;
    }
    ClearChoiced(e);
    return false;
}

bool IsChosenAt(const TEngine& e, int x, int y) {
    const THit hit = HitTest(e, x, y);
    return hit && ContainsObject(e.Choiced, hit.Object);
}

void BandPreview(TEngine& e, int x1, int y1, int x2, int y2, bool additive) {
    if (!additive)
        ClearPicked(e);
    AddInside(e, ModelBand(e, x1, y1, x2, y2), false);
    SyncConnectionLists(e, false);
}

void BandCommit(TEngine& e, int x1, int y1, int x2, int y2, bool additive) {
    if (!additive)
        ClearChoiced(e);
    AddInside(e, ModelBand(e, x1, y1, x2, y2), true);
    SyncConnectionLists(e, true);
}

void SyncConnectionLists(TEngine& e, bool chosenList) {
    TEnginePickedChoiced& list = chosenList ? e.Choiced : e.Picked;
    for (auto& c : e.Net.Connections) {
        if (!chosenList && ContainsObject(e.Choiced, c.get()))
            continue;
        const bool ends = ContainsObject(list, c->Vertex) && ContainsObject(list, c->Transition);
        const bool present = ContainsObject(list, c.get());
        if (ends && !present)
            Add(e, chosenList, okConnection, c.get(), true);
        else if (!ends && present)
            Remove(e, chosenList, c.get());
    }
}

void CreateAtPoint(TEngine& e, int x, int y) {
    const TPoint m = ScreenToModel(e.Graph, x, y);
    const TEngineGraphOptions* options = &e.Graph.Options;
    const TEditMode mode = e.EditMode;
    e.EditMode = emIdle;
    if (mode == emCreateVertex) {
        CreateVertex(e.Net, "", e.BaseVertexMark, m.X, m.Y, options);
        return;
    }
    if (mode == emCreateTransition) {
        CreateTransition(e.Net, "", m.X, e.BaseTransitionDelay, m.Y, options);
        return;
    }
    if ((mode != emCreateConnection && mode != emCreateInformConnection) || e.Choiced.Items.empty() || e.Picked.Items.empty())
        return;
    const TEnginePickedChoicedEntry source = e.Choiced.Items.front();
    const TEnginePickedChoicedEntry target = e.Picked.Items.front();
    if (source.Kind == okVertex && target.Kind == okTransition) {
        auto* v = static_cast<TVertex*>(source.Object);
        auto* t = static_cast<TTransition*>(target.Object);
        const bool inform = mode == emCreateInformConnection;
        if (TConnection* existing = FindVT(v, t)) {
            if (existing->IsInform == inform)
                existing->Count = WrapAdd(existing->Count, 1);
            else
                existing->IsInform = inform;
        } else {
            CreateConnection(e.Net, ctVT, 1, v, t, options)->IsInform = inform;
        }
    } else if (mode == emCreateConnection && source.Kind == okTransition && target.Kind == okVertex) {
        CreateConnection(e.Net, ctTV, 1, static_cast<TVertex*>(target.Object),
                         static_cast<TTransition*>(source.Object), options);
    }
}

std::optional<std::string> ConnectionToolRefusal(const TEngine& e, bool informational) {
    const bool one = e.Choiced.Items.size() == 1;
    const std::int32_t kind = one ? e.Choiced.Items[0].Kind : okNone;
    if (informational) {
        if (kind == okVertex)
            return std::nullopt;
        return "Не вибрана початкова вершина.";
    }
    if (kind == okVertex || kind == okTransition)
        return std::nullopt;
    return "Не вибрана початкова вершина чи перехід.";
}

void DeleteChosenObjects(TEngine& e) {
    const std::vector<TEnginePickedChoicedEntry> chosen = e.Choiced.Items;
    for (auto entry = chosen.rbegin(); entry != chosen.rend(); ++entry) {
        if (!ContainsObject(e.Choiced, entry->Object))
            continue; // went with an object deleted before it
        switch (entry->Kind) {
        case okVertex:
            DeleteVertex(e.Net, static_cast<TVertex*>(entry->Object)->Index, &e);
            break;
        case okTransition:
            DeleteTransition(e.Net, static_cast<TTransition*>(entry->Object)->Index, &e);
            break;
        case okConnection:
            DeleteConnection(e.Net, static_cast<TConnection*>(entry->Object)->Index, &e);
            break;
        default:
            break;
        }
    }
}
