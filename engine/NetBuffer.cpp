#include "NetBuffer.h"

#include "Engine.h"
#include "Monitoring.h"
#include "NetObjects.h"

#include <charconv>

namespace {

bool IsInteger(std::string_view text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && (*first == '+' || *first == '-'))
        ++first;
    if (first == last || *first == '-' || *first == '+')
        return false;
    std::int32_t value = 0;
    const auto result = std::from_chars(text[0] == '+' ? text.data() + 1 : text.data(), last, value);
    return result.ec == std::errc() && result.ptr == last;
}

// The pasted object's name: the automatic one when the prefix is the letter, else the prefix
// with the first free number from the buffered one on.
template <typename Object>
void NamePasted(TEngine& e, Object& object, const std::string& buffered, const char* letter) {
    const TNameNumber split = SplitNameNumber(buffered);
    if (split.Prefix == letter)
        return;
    long long n = 1;
    if (!split.Number.empty()) {
        std::int32_t value = 0;
        const char* first = split.Number.data() + (split.Number[0] == '+');
        std::from_chars(first, split.Number.data() + split.Number.size(), value);
        n = value;
    }
    while (!IsNameFree(e.Net, okNone, nullptr, split.Prefix + std::to_string(n)))
        ++n;
    object.Name = split.Prefix + std::to_string(n);
}

} // namespace

TNameNumber SplitNameNumber(const std::string& name) {
    std::size_t start = name.size();
    while (start > 0 && IsInteger(std::string_view(name).substr(start - 1)))
        --start;
    return {name.substr(0, start), name.substr(start)};
}

void CopyFragment(TEngine& e, std::int32_t x, std::int32_t y) {
    TEngineNetBuffer& b = e.NetBuffer;
    b.OriginX = x;
    b.OriginY = y;
    b.Vertices.clear();
    b.Transitions.clear();
    b.Connections.clear();
    std::vector<const TConnection*> connections;
    for (const TObjectRef& entry : e.Choiced.Items) {
        if (entry.Kind() == okVertex) {
            const TVertex& v = *entry.Vertex();
            b.Vertices.push_back({v.Name, v.X, v.Y, v.Index, v.Marking, v.Radius, v.LineWidth, v.NameFontSize,
                                  v.MarkFontSize, v.IsMonitoring});
        } else if (entry.Kind() == okTransition) {
            const TTransition& t = *entry.Transition();
            b.Transitions.push_back({t.Name, t.X, t.Y, t.DelayType, t.Delay, t.Deviation, t.Weight, t.Index,
                                     t.Priority, t.Width, t.Height, t.NameFontSize, t.DelayFontSize,
                                     t.IsMonitoring});
        } else if (entry.Kind() == okConnection) {
            connections.push_back(entry.Connection());
        }
    }
    for (const TConnection* c : connections) {
        std::int32_t vertexPos = -1, transitionPos = -1;
        for (std::size_t i = 0; i < b.Vertices.size(); ++i)
            if (b.Vertices[i].SourceIndex == c->Vertex->Index)
                vertexPos = static_cast<std::int32_t>(i);
        for (std::size_t i = 0; i < b.Transitions.size(); ++i)
            if (b.Transitions[i].SourceIndex == c->Transition->Index)
                transitionPos = static_cast<std::int32_t>(i);
        if (vertexPos < 0 || transitionPos < 0)
            continue; // an end that was not copied: the connection stays out of the fragment
        b.Connections.push_back({c->ConnectionType, c->Count, c->Width, c->Width1, c->Height1, c->CountFontSize,
                                 vertexPos, transitionPos, c->Formula, c->UseFunction, c->IsInform});
    }
}

void PasteFragment(TEngine& e, std::int32_t x, std::int32_t y) {
    const TEngineNetBuffer& b = e.NetBuffer;
    const std::int32_t dx = x - b.OriginX;
    const std::int32_t dy = y - b.OriginY;
    const std::size_t vertices = e.Net.Vertices.size();
    const std::size_t transitions = e.Net.Transitions.size();
    while (!e.Choiced.Items.empty())
        RemoveEntryAt(e.Choiced, static_cast<std::int32_t>(e.Choiced.Items.size()) - 1, e.Graph,
                      TListRole::Chosen, TFade::Animate);
    const TEngineGraphOptions* options = &e.Graph.Options;
    for (const TEngineNetBufferVertex& bv : b.Vertices) {
        TVertex& v = *CreateVertex(e.Net, "", bv.Marking, bv.X + dx, bv.Y + dy, options);
        v.Radius = bv.Radius;
        v.LineWidth = bv.LineWidth;
        v.NameFontSize = bv.NameFontSize;
        v.MarkFontSize = bv.MarkFontSize;
        if (bv.IsMonitoring)
            StartMonitoring(v, e.Net.ModelTime);
        NamePasted(e, v, bv.Name, "P");
        AddEntry(e.Choiced, &v, e.Graph, TListRole::Chosen, TFade::Animate);
    }
    for (const TEngineNetBufferTransition& bt : b.Transitions) {
        TTransition& t = *CreateTransition(e.Net, "", bt.X + dx, bt.Delay, bt.Y + dy, options);
        t.DelayType = bt.DelayType;
        t.Deviation = bt.Deviation;
        t.Priority = bt.Priority;
        t.Weight = bt.Weight;
        t.Width = bt.Width;
        t.Height = bt.Height;
        t.NameFontSize = bt.NameFontSize;
        t.DelayFontSize = bt.DelayFontSize;
        if (bt.IsMonitoring)
            StartMonitoring(t, e.Net.ModelTime);
        NamePasted(e, t, bt.Name, "T");
        AddEntry(e.Choiced, &t, e.Graph, TListRole::Chosen, TFade::Animate);
    }
    for (const TEngineNetBufferConnection& bc : b.Connections) {
        TVertex* v = e.Net.Vertices[vertices + bc.VertexPos].get();
        TTransition* t = e.Net.Transitions[transitions + bc.TransitionPos].get();
        CreateConnection(e.Net, bc.ConnectionType, bc.Count, v, t, options);
        TConnection& c = *e.Net.Connections.back();
        c.UseFunction = bc.UseFunction;
        c.Formula = bc.Formula;
        c.IsInform = bc.IsInform;
        c.Width = bc.Width;
        c.Width1 = bc.Width1;
        c.Height1 = bc.Height1;
        c.CountFontSize = bc.CountFontSize;
        AddEntry(e.Choiced, &c, e.Graph, TListRole::Chosen, TFade::Animate);
    }
}
