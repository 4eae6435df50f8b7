#include "NetBuffer.h"

#include "Engine.h"
#include "NetObjects.h"
#include "StoredFields.h"

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
    const auto result =
        std::from_chars(text[0] == '+' ? text.data() + 1 : text.data(), last, value);
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
    while (!IsNameFree(e.Net, {}, split.Prefix + std::to_string(n)))
        ++n;
    object.Name = split.Prefix + std::to_string(n);
}

// Appends a copy of the object's stored values to the buffer and remembers the original.
template <typename Object>
void Buffer(std::vector<std::unique_ptr<Object>>& buffer, std::vector<const Object*>& originals,
            const Object& object) {
    auto copy = std::make_unique<Object>(StoredCopy(object));
    copy->Index = static_cast<std::int32_t>(buffer.size());
    buffer.push_back(std::move(copy));
    originals.push_back(&object);
}

// The buffered copy of the original (the later one when it was chosen twice), or null.
template <typename Object>
Object* BufferedCopyOf(const Object* original, const std::vector<const Object*>& originals,
                       const std::vector<std::unique_ptr<Object>>& buffer) {
    for (std::size_t i = originals.size(); i-- > 0;)
        if (originals[i] == original)
            return buffer[i].get();
    return nullptr;
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
    std::vector<const TVertex*> vertices; // the originals, position for position with the buffer
    std::vector<const TTransition*> transitions;
    std::vector<const TConnection*> connections;
    for (const TObjectRef& entry : e.Choiced.Items) {
        if (entry.Kind() == okVertex)
            Buffer(b.Vertices, vertices, *entry.Vertex());
        else if (entry.Kind() == okTransition)
            Buffer(b.Transitions, transitions, *entry.Transition());
        else if (entry.Kind() == okConnection)
            connections.push_back(entry.Connection());
    }
    for (const TConnection* c : connections) {
        TVertex* vertex = BufferedCopyOf(c->Vertex, vertices, b.Vertices);
        TTransition* transition = BufferedCopyOf(c->Transition, transitions, b.Transitions);
        if (vertex == nullptr || transition == nullptr)
            continue; // an end that was not copied: the connection stays out of the fragment
        auto copy = std::make_unique<TConnection>(StoredCopy(*c));
        copy->Index = static_cast<std::int32_t>(b.Connections.size());
        copy->Vertex = vertex;
        copy->Transition = transition;
        b.Connections.push_back(std::move(copy));
    }
}

namespace {

// Creates each buffered vertex or transition anew, moved by (dx, dy), named after the buffered
// name, and chosen.
template <typename Object, typename Create>
void PastePlaced(TEngine& e, const std::vector<std::unique_ptr<Object>>& buffer, std::int32_t dx,
                 std::int32_t dy, const char* letter, Create create) {
    for (const auto& buffered : buffer) {
        Object& object = *create();
        AssignStoredFields(object, *buffered, e.Net.ModelTime);
        object.X = buffered->X + dx;
        object.Y = buffered->Y + dy;
        NamePasted(e, object, buffered->Name, letter);
        AddEntry(e.Choiced, &object, e.Graph, TListRole::Chosen, TFade::Animate);
    }
}

} // namespace

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
    PastePlaced(e, b.Vertices, dx, dy, "P",
                [&] { return CreateVertex(e.Net, "", 0, 0, 0, options); });
    PastePlaced(e, b.Transitions, dx, dy, "T",
                [&] { return CreateTransition(e.Net, "", 0, 0, 0, options); });
    for (const auto& buffered : b.Connections) {
        TVertex* v = e.Net.Vertices[vertices + buffered->Vertex->Index].get();
        TTransition* t = e.Net.Transitions[transitions + buffered->Transition->Index].get();
        CreateConnection(e.Net, buffered->ConnectionType, buffered->Count, v, t, options);
        TConnection& c = *e.Net.Connections.back();
        AssignStoredFields(c, *buffered, e.Net.ModelTime);
        AddEntry(e.Choiced, &c, e.Graph, TListRole::Chosen, TFade::Animate);
    }
}
