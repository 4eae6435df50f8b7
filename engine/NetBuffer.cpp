#include "NetBuffer.h"

#include "Engine.h"
#include "NetObjects.h"
#include "StoredFields.h"
#include "TextCodec.h"

#include <charconv>
#include <unordered_map>
#include <unordered_set>

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

// The names borne by every vertex and transition, upper-cased, for the free-name checks of one
// paste. A name is free when no object bears it without regard to letter case.
struct TPasteNames {
    std::unordered_set<std::string> Taken;
    // Per upper-cased prefix: from a number, the next one that may be free. Every number on the
    // way was taken when it was recorded, and names are only added while pasting.
    std::unordered_map<std::string, std::unordered_map<long long, long long>> Skips;
};

TPasteNames PasteNamesOf(const TEngineNet& net) {
    TPasteNames names;
    names.Taken.reserve(net.Vertices.size() + net.Transitions.size());
    for (const auto& vertex : net.Vertices)
        names.Taken.insert(UpperCase1251(vertex->Name));
    for (const auto& transition : net.Transitions)
        names.Taken.insert(UpperCase1251(transition->Name));
    return names;
}

// The first number from n on that makes a free name with the (upper-cased) prefix.
long long FirstFreeNumber(TPasteNames& names, const std::string& prefix, long long n) {
    auto& skips = names.Skips[prefix];
    std::vector<long long> passed;
    for (;;) {
        if (const auto skip = skips.find(n); skip != skips.end()) {
            passed.push_back(n);
            n = skip->second;
        } else if (names.Taken.contains(prefix + std::to_string(n))) {
            passed.push_back(n);
            ++n;
        } else {
            break;
        }
    }
    for (const long long number : passed)
        skips[number] = n;
    return n;
}

// The pasted object's name: the automatic one when the prefix is the letter, else the prefix
// with the first free number from the buffered one on. The new object bears its automatic name
// while the free number is looked for, so that name counts as taken too.
std::string PastedName(TPasteNames& names, TAutomaticNames& automatic, const std::string& buffered,
                       const char* letter) {
    std::string fresh = FreeAutomaticName(automatic);
    const TNameNumber split = SplitNameNumber(buffered);
    if (split.Prefix == letter)
        return fresh;
    long long n = 1;
    if (!split.Number.empty()) {
        std::int32_t value = 0;
        const char* first = split.Number.data() + (split.Number[0] == '+');
        std::from_chars(first, split.Number.data() + split.Number.size(), value);
        n = value;
    }
    const std::string prefix = UpperCase1251(split.Prefix);
    const std::string freshUpper = UpperCase1251(fresh);
    n = FirstFreeNumber(names, prefix, n);
    if (prefix + std::to_string(n) == freshUpper)
        n = FirstFreeNumber(names, prefix, n + 1);
    return split.Prefix + std::to_string(n);
}

// Appends a copy of the object's stored values to the buffer and remembers it as the copy of the
// original (the later one when the original was chosen twice).
template <typename Object>
void Buffer(std::vector<std::unique_ptr<Object>>& buffer,
            std::unordered_map<const Object*, Object*>& copies, const Object& object) {
    auto copy = std::make_unique<Object>(StoredCopy(object));
    copy->Index = static_cast<std::int32_t>(buffer.size());
    copies[&object] = copy.get();
    buffer.push_back(std::move(copy));
}

// The buffered copy of the original, or null.
template <typename Object>
Object* BufferedCopyOf(const Object* original,
                       const std::unordered_map<const Object*, Object*>& copies) {
    const auto found = copies.find(original);
    return found == copies.end() ? nullptr : found->second;
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
    std::unordered_map<const TVertex*, TVertex*> vertices; // the originals' copies
    std::unordered_map<const TTransition*, TTransition*> transitions;
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
        TVertex* vertex = BufferedCopyOf<TVertex>(c->Vertex, vertices);
        TTransition* transition = BufferedCopyOf<TTransition>(c->Transition, transitions);
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
                 std::int32_t dy, TPasteNames& names, TAutomaticNames automatic, const char* letter,
                 Create create) {
    for (const auto& buffered : buffer) {
        const std::string name = PastedName(names, automatic, buffered->Name, letter);
        TakeName(automatic, name);
        names.Taken.insert(UpperCase1251(name));
        Object& object = *create(name);
        AssignStoredFields(object, *buffered, e.Net.ModelTime);
        object.X = buffered->X + dx;
        object.Y = buffered->Y + dy;
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
    TPasteNames names = PasteNamesOf(e.Net);
    PastePlaced(
        e, b.Vertices, dx, dy, names, VertexNames(e.Net), "P",
        [&](const std::string& name) { return CreateVertex(e.Net, name, 0, 0, 0, options); });
    PastePlaced(
        e, b.Transitions, dx, dy, names, TransitionNames(e.Net), "T",
        [&](const std::string& name) { return CreateTransition(e.Net, name, 0, 0, 0, options); });
    for (const auto& buffered : b.Connections) {
        TVertex* v = e.Net.Vertices[vertices + buffered->Vertex->Index].get();
        TTransition* t = e.Net.Transitions[transitions + buffered->Transition->Index].get();
        CreateConnection(e.Net, buffered->ConnectionType, buffered->Count, v, t, options);
        TConnection& c = *e.Net.Connections.back();
        AssignStoredFields(c, *buffered, e.Net.ModelTime);
        AddEntry(e.Choiced, &c, e.Graph, TListRole::Chosen, TFade::Animate);
    }
}
