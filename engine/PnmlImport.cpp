#include "PnmlImport.h"

#include "EngineError.h"
#include "NetFile.h"
#include "NetFileReader.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "PnmlDocument.h"
#include "PnmlFields.h"
#include "PnmlLayout.h"
#include "StoredFields.h"
#include "TextCodec.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

// The deepest nesting of pages and nets read.
constexpr int kDeepestPage = 1000;

// The fixed delay of a transition whose file gives none.
constexpr double kUntimedDelay = 1;

enum class TNodeKind : std::uint8_t { Place, Transition, ReferencePlace, ReferenceTransition };

struct TNode {
    TNodeKind Kind;
    pugi::xml_node Element;
    int Scope;
    int Page;        // the page (or net) the node is drawn on
    int Target = -1; // the place or transition a reference node stands for
    int Object = -1; // its position among the created vertices or transitions
};

// Ids are looked up in the net that holds the element and then in the nets around it: a net
// nested in a page may reuse the ids of the outer one.
struct TScope {
    int Parent = -1;
    std::unordered_map<std::string, int> Ids;
};

struct TArc {
    pugi::xml_node Element;
    int Scope;
    int From = -1;
    int To = -1;
};

bool IsReference(TNodeKind kind) {
    return kind == TNodeKind::ReferencePlace || kind == TNodeKind::ReferenceTransition;
}

// Type names of nets whose tokens carry data: such a net has no P/T reading.
bool IsHighLevelType(const std::string& type) {
    const std::string lower = AsciiLower(type);
    for (const char* mark :
         {"symmetricnet", "highlevel", "hlpn", "pt-hlpng", "colored", "coloured", "cpn"})
        if (lower.find(mark) != std::string::npos)
            return true;
    return false;
}

// An unsigned count of a label: a marking or an inscription.
std::optional<std::int64_t> WholeNumber(std::string_view text) {
    // Some editors name the kind of token before the count: "Default,3".
    if (const std::size_t comma = text.find(',');
        comma != std::string_view::npos && text.find(',', comma + 1) == std::string_view::npos &&
        comma > 0)
        text = TrimmedText(text.substr(comma + 1));
    // XML Schema numbers may carry a plus sign.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> Coordinate(pugi::xml_attribute attribute) {
    std::string_view text = TrimmedText(attribute.value());
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!attribute || text.empty() || result.ec != std::errc() ||
        result.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

class TPnmlReader {
public:
    TPnmlReader(std::string_view bytes, const std::filesystem::path& path,
                const TEngineGraphOptions* options)
        : Document(bytes, path), Options(options) {}

    TPnmlImport Read();

private:
    void CheckRoot();
    void Walk(pugi::xml_node container, int scope, int page);
    void Register(pugi::xml_node element, TNodeKind kind, int scope, int page);
    void NoteHighLevel(pugi::xml_node element);
    int Lookup(int scope, const std::string& id) const;
    void ResolveReferences();
    void ResolveArcs();
    std::string NodeName(int index);
    std::optional<std::string> OwnName(const TNode& node) const;
    void ReserveOwnNames(const std::vector<int>& nodes);
    int RootScope(int scope) const;
    std::string UniqueName(std::string name, bool place);
    std::int32_t Count(pugi::xml_node element, std::string_view label, std::int32_t absent,
                       std::int64_t least, const char* what);
    std::optional<TLayoutPoint> Position(pugi::xml_node element) const;
    void NoteLosses(pugi::xml_node element, bool place);
    void SpreadPages(const std::vector<int>& order, std::vector<TLayoutPoint>& points) const;
    void Build(TEngineNet& net);
    std::string Notes() const;
    TPnmlFailure Failure() const {
        return [this](pugi::xml_node element, const std::string& reason) {
            Document.Fail(element, reason);
        };
    }

    TPnmlDocument Document;
    const TEngineGraphOptions* Options;
    std::vector<TNode> Nodes;
    std::vector<TScope> Scopes;
    std::vector<TArc> Arcs;
    std::unordered_set<std::string> TakenNames; // upper case: names differ beyond letter case
    std::unordered_set<int> KeptNames;          // the nodes that keep their names as written
    std::string NetType;
    pugi::xml_node HighLevelMark; // the first element only a high-level net has
    int NetCount = 0;
    int PageCount = 0;
    int Depth = 0; // of the page being walked
    // What was left out or changed, by kind, for the message after the import.
    std::map<std::string, int> Losses;
    int MergedArcs = 0;
};

void TPnmlReader::CheckRoot() {
    const pugi::xml_node root = Document.Root();
    if (!HasLocalName(root, "pnml"))
        Document.Fail(root, "це не документ PNML: кореневим має бути елемент <pnml>");
    for (pugi::xml_node net : root.children())
        if (HasLocalName(net, "net")) {
            ++NetCount;
            const std::string type = net.attribute("type").value();
            if (IsHighLevelType(type))
                Document.Fail(net, "сітку типу «" + type +
                                       "» не можна імпортувати: це кольорова (високорівнева) "
                                       "сітка, а програма працює лише із сітками місць і "
                                       "переходів (P/T)");
            if (NetType.empty())
                NetType = type;
            Scopes.push_back({});
            Walk(net, static_cast<int>(Scopes.size()) - 1, PageCount++);
        }
    if (NetCount == 0)
        Document.Fail(root, "у документі немає жодної сітки (елемента <net>)");
    if (HighLevelMark)
        Document.Fail(
            HighLevelMark,
            "сітку " + (NetType.empty() ? std::string("без типу") : "типу «" + NetType + "»") +
                " не можна імпортувати: елемент <" + std::string(LocalName(HighLevelMark)) +
                "> буває лише в кольорових (високорівневих) сітках, а програма працює "
                "лише із сітками місць і переходів (P/T)");
}

void TPnmlReader::NoteHighLevel(pugi::xml_node element) {
    if (!HighLevelMark)
        HighLevelMark = element;
}

// Pages and nets nested in pages are flattened: every node belongs to the one net imported.
void TPnmlReader::Walk(pugi::xml_node container, int scope, int page) {
    // Each level of pages takes a frame of the stack: a file nested beyond any drawing's need is
    // refused before the stack runs out.
    if (++Depth > kDeepestPage)
        Document.Fail(container, "сторінки або сітки вкладено глибше ніж на " +
                                     std::to_string(kDeepestPage) + " рівнів");
    for (pugi::xml_node child : container.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const std::string_view name = LocalName(child);
        if (name == "page") {
            Walk(child, scope, PageCount++);
        } else if (name == "net") {
            Scopes.push_back({scope, {}});
            Walk(child, static_cast<int>(Scopes.size()) - 1, PageCount++);
        } else if (name == "place") {
            Register(child, TNodeKind::Place, scope, page);
        } else if (name == "transition") {
            Register(child, TNodeKind::Transition, scope, page);
        } else if (name == "referencePlace") {
            Register(child, TNodeKind::ReferencePlace, scope, page);
        } else if (name == "referenceTransition") {
            Register(child, TNodeKind::ReferenceTransition, scope, page);
        } else if (name == "arc") {
            Arcs.push_back({child, scope});
            if (ChildNamed(child, "hlinscription"))
                NoteHighLevel(ChildNamed(child, "hlinscription"));
        } else if (name == "declaration" || name == "declarations") {
            NoteHighLevel(child);
        }
    }
    --Depth;
}

void TPnmlReader::Register(pugi::xml_node element, TNodeKind kind, int scope, int page) {
    for (const char* mark : {"hlinitialMarking", "condition"})
        if (ChildNamed(element, mark))
            NoteHighLevel(ChildNamed(element, mark));
    if (kind == TNodeKind::Place && ChildNamed(element, "type"))
        NoteHighLevel(ChildNamed(element, "type"));
    const std::string id = element.attribute("id").value();
    const int index = static_cast<int>(Nodes.size());
    Nodes.push_back({kind, element, scope, page});
    if (id.empty())
        return;
    const auto [at, added] = Scopes[scope].Ids.emplace(id, index);
    if (!added)
        Document.Fail(element, "id «" + id + "» уже має вузол у рядку " +
                                   std::to_string(Document.LineOf(Nodes[at->second].Element)));
}

int TPnmlReader::Lookup(int scope, const std::string& id) const {
    for (; scope >= 0; scope = Scopes[scope].Parent)
        if (const auto found = Scopes[scope].Ids.find(id); found != Scopes[scope].Ids.end())
            return found->second;
    return -1;
}

// A reference node stands for the node its chain of references ends at.
void TPnmlReader::ResolveReferences() {
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        TNode& node = Nodes[i];
        if (!IsReference(node.Kind)) {
            node.Target = static_cast<int>(i);
            continue;
        }
        const bool wantsPlace = node.Kind == TNodeKind::ReferencePlace;
        int at = static_cast<int>(i);
        for (std::size_t step = 0; IsReference(Nodes[at].Kind); ++step) {
            const std::string ref = Nodes[at].Element.attribute("ref").value();
            const int next = Lookup(Nodes[at].Scope, ref);
            if (next < 0)
                Document.Fail(Nodes[at].Element,
                              "посилання на вузол «" + ref + "», якого в сітці немає");
            if (step > Nodes.size())
                Document.Fail(node.Element, "посилання замикаються в коло і не ведуть до вузла");
            at = next;
        }
        if ((Nodes[at].Kind == TNodeKind::Place) != wantsPlace)
            Document.Fail(node.Element, wantsPlace ? "посилання на місце веде до переходу"
                                                   : "посилання на перехід веде до місця");
        node.Target = at;
    }
}

void TPnmlReader::ResolveArcs() {
    for (TArc& arc : Arcs) {
        auto end = [&](const char* attribute) {
            const std::string id = arc.Element.attribute(attribute).value();
            const int node = Lookup(arc.Scope, id);
            if (node < 0)
                Document.Fail(
                    arc.Element,
                    std::string(attribute == std::string("source") ? "початок" : "кінець") +
                        " дуги — вузол «" + id + "», якого в сітці немає");
            return Nodes[node].Target;
        };
        arc.From = end("source");
        arc.To = end("target");
        const bool fromPlace = Nodes[arc.From].Kind == TNodeKind::Place;
        const bool toPlace = Nodes[arc.To].Kind == TNodeKind::Place;
        if (fromPlace == toPlace)
            Document.Fail(arc.Element,
                          fromPlace ? "дуга з'єднує два місця, а має з'єднувати місце з переходом"
                                    : "дуга з'єднує два переходи, а має з'єднувати місце з "
                                      "переходом");
    }
}

// The name of a node this program wrote, in the editor's encoding: the name it had in the net
// it came from. None for other nodes, and for a name with a line break.
std::optional<std::string> TPnmlReader::OwnName(const TNode& node) const {
    const std::string name = LabelText(node.Element, "name").value_or("");
    if (!FindToolBlock(node.Element) || name.empty() ||
        name.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    return Utf8ToWin1251(name);
}

int TPnmlReader::RootScope(int scope) const {
    while (Scopes[scope].Parent >= 0)
        scope = Scopes[scope].Parent;
    return scope;
}

// Nodes this program wrote keep their names, so that a net comes back as it was exported; the
// names given to the other nodes avoid them. A name kept in one net of the document is not kept
// again in another: that node gets a name of its own.
void TPnmlReader::ReserveOwnNames(const std::vector<int>& nodes) {
    std::unordered_map<std::string, int> owners; // upper-case name -> the net that keeps it
    for (int index : nodes) {
        const std::optional<std::string> name = OwnName(Nodes[index]);
        if (!name)
            continue;
        const int root = RootScope(Nodes[index].Scope);
        const auto [owner, added] = owners.emplace(UpperCase1251(*name), root);
        if (added || owner->second == root)
            KeptNames.insert(index);
    }
    for (const auto& [name, root] : owners)
        TakenNames.insert(name);
}

// The name label, else the id, else an automatic name; line breaks, which a name cannot hold,
// become blanks. A node this program wrote keeps its name (ReserveOwnNames).
std::string TPnmlReader::NodeName(int index) {
    const TNode& node = Nodes[index];
    if (KeptNames.contains(index))
        return *OwnName(node);
    std::string name = LabelText(node.Element, "name").value_or("");
    if (name.find_first_of("\r\n") != std::string::npos) {
        name = std::string(TrimmedText(name));
        for (char& c : name)
            if (c == '\r' || c == '\n')
                c = ' ';
    }
    if (TrimmedText(name).empty())
        name = node.Element.attribute("id").value();
    return UniqueName(Utf8ToWin1251(name), node.Kind == TNodeKind::Place);
}

// No two objects of the net may bear one name, letter case disregarded.
std::string TPnmlReader::UniqueName(std::string name, bool place) {
    std::string candidate = name;
    for (long long number = 1; candidate.empty() || TakenNames.contains(UpperCase1251(candidate));
         ++number)
        candidate = name.empty() ? (place ? "P" : "T") + std::to_string(number)
                                 : name + "_" + std::to_string(number + 1);
    TakenNames.insert(UpperCase1251(candidate));
    return candidate;
}

std::int32_t TPnmlReader::Count(pugi::xml_node element, std::string_view label, std::int32_t absent,
                                std::int64_t least, const char* what) {
    const std::optional<std::string> text = LabelText(element, label);
    if (!text || TrimmedText(*text).empty())
        return absent;
    const std::optional<std::int64_t> value = WholeNumber(TrimmedText(*text));
    if (!value)
        Document.Fail(element, std::string(what) + " «" + *text + "» не є цілим числом");
    if (*value < least)
        Document.Fail(element, std::string(what) + " " + std::to_string(*value) +
                                   (least == 0 ? " від'ємне" : " менше за 1"));
    if (*value > std::numeric_limits<std::int32_t>::max())
        Document.Fail(element, std::string(what) + " " + std::to_string(*value) + " завелике");
    return static_cast<std::int32_t>(*value);
}

std::optional<TLayoutPoint> TPnmlReader::Position(pugi::xml_node element) const {
    const pugi::xml_node position = ChildNamed(ChildNamed(element, "graphics"), "position");
    const std::optional<double> x = Coordinate(position.attribute("x"));
    const std::optional<double> y = Coordinate(position.attribute("y"));
    if (!x || !y)
        return std::nullopt;
    return TLayoutPoint{RoundToInt(*x * kPnmlUnitScale), RoundToInt(*y * kPnmlUnitScale)};
}

// Capacities and colours have no place in the program's net; they are counted for the message.
void TPnmlReader::NoteLosses(pugi::xml_node element, bool place) {
    if (place) {
        const std::string capacity =
            std::string(TrimmedText(LabelText(element, "capacity").value_or("")));
        if (!capacity.empty() && capacity != "0")
            ++Losses["ємності місць"];
    }
    const pugi::xml_node graphics = ChildNamed(element, "graphics");
    for (const char* part : {"fill", "line"})
        if (ChildNamed(graphics, part).attribute("color")) {
            ++Losses["кольори вузлів і дуг"];
            break;
        }
}

// Each page has a plane of its own, so pages drawn at the same coordinates would fall on one
// another: after the first, each page goes to the right of the one before.
void TPnmlReader::SpreadPages(const std::vector<int>& order,
                              std::vector<TLayoutPoint>& points) const {
    struct TBox {
        std::int64_t Left, Top, Right, Bottom;
    };
    std::map<int, TBox> boxes; // by page, in the order of the document
    for (std::size_t k = 0; k < order.size(); ++k) {
        const TLayoutPoint& p = points[k];
        const auto [at, added] = boxes.try_emplace(Nodes[order[k]].Page, TBox{p.X, p.Y, p.X, p.Y});
        TBox& box = at->second;
        box.Left = std::min<std::int64_t>(box.Left, p.X);
        box.Right = std::max<std::int64_t>(box.Right, p.X);
        box.Top = std::min<std::int64_t>(box.Top, p.Y);
        box.Bottom = std::max<std::int64_t>(box.Bottom, p.Y);
    }
    if (boxes.size() < 2)
        return;
    constexpr std::int64_t kGap = 1500;
    std::map<int, std::pair<std::int64_t, std::int64_t>> shifts;
    const std::int64_t top = boxes.begin()->second.Top;
    std::int64_t right = boxes.begin()->second.Right;
    shifts[boxes.begin()->first] = {0, 0};
    for (auto at = std::next(boxes.begin()); at != boxes.end(); ++at) {
        const TBox& box = at->second;
        shifts[at->first] = {right + kGap - box.Left, top - box.Top};
        right += kGap + box.Right - box.Left;
    }
    for (std::size_t k = 0; k < order.size(); ++k) {
        const auto& [dx, dy] = shifts[Nodes[order[k]].Page];
        points[k].X = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(points[k].X + dx, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
        points[k].Y = static_cast<std::int32_t>(points[k].Y + dy);
    }
}

void TPnmlReader::Build(TEngineNet& net) {
    // Places and transitions in the order of the document, each kind apart.
    std::vector<int> places;
    std::vector<int> transitions;
    for (std::size_t i = 0; i < Nodes.size(); ++i) {
        if (Nodes[i].Kind == TNodeKind::Place)
            places.push_back(static_cast<int>(i));
        else if (Nodes[i].Kind == TNodeKind::Transition)
            transitions.push_back(static_cast<int>(i));
    }
    std::vector<int> order = places;
    order.insert(order.end(), transitions.begin(), transitions.end());
    std::vector<int> slot(Nodes.size(), -1); // position in `order`
    for (std::size_t k = 0; k < order.size(); ++k)
        slot[order[k]] = static_cast<int>(k);

    // Positions from the document when every node has one, else a layout of the whole net.
    std::vector<TLayoutPoint> points(order.size());
    bool placed = true;
    for (std::size_t k = 0; k < order.size() && placed; ++k) {
        const std::optional<TLayoutPoint> point = Position(Nodes[order[k]].Element);
        placed = point.has_value();
        if (point)
            points[k] = *point;
    }
    std::vector<std::int32_t> markings(places.size());
    for (std::size_t k = 0; k < places.size(); ++k)
        markings[k] = Count(Nodes[places[k]].Element, "initialMarking", 0, 0, "маркування");
    if (placed) {
        SpreadPages(order, points);
    } else {
        std::vector<std::pair<int, int>> links;
        for (const TArc& arc : Arcs)
            links.emplace_back(slot[arc.From], slot[arc.To]);
        std::vector<int> starts;
        for (std::size_t k = 0; k < places.size(); ++k)
            if (markings[k] > 0)
                starts.push_back(static_cast<int>(k));
        points = LayeredLayout(static_cast<int>(order.size()), links, starts);
    }

    const TPnmlFailure fail = Failure();
    ReserveOwnNames(order);
    for (std::size_t k = 0; k < places.size(); ++k) {
        TNode& node = Nodes[places[k]];
        TVertex* vertex = CreateVertex(net, NodeName(places[k]), 0, 0, 0, Options);
        TVertex stored = StoredCopy(*vertex);
        stored.Marking = markings[k];
        stored.X = points[k].X;
        stored.Y = points[k].Y;
        if (const pugi::xml_node block = FindToolBlock(node.Element))
            ReadToolBlock(block, stored, fail);
        AssignStoredFields(*vertex, stored, 0);
        node.Object = vertex->Index;
        NoteLosses(node.Element, true);
    }
    for (std::size_t k = 0; k < transitions.size(); ++k) {
        TNode& node = Nodes[transitions[k]];
        TTransition* transition = CreateTransition(net, NodeName(transitions[k]), 0, 0, 0, Options);
        TTransition stored = StoredCopy(*transition);
        stored.X = points[places.size() + k].X;
        stored.Y = points[places.size() + k].Y;
        // A P/T net has no time. Each firing of a transition from another tool takes one unit
        // of model time, so that a run moves on rather than firing for ever at time 0.
        stored.Delay = kUntimedDelay;
        if (const pugi::xml_node block = FindToolBlock(node.Element))
            ReadToolBlock(block, stored, fail);
        AssignStoredFields(*transition, stored, 0);
        node.Object = transition->Index;
        NoteLosses(node.Element, false);
    }

    for (const TArc& arc : Arcs) {
        // Arcs of other kinds change when a transition may fire; they are left out.
        std::string kind = arc.Element.attribute("type").value();
        for (const char* label : {"type", "arctype"}) {
            const pugi::xml_node child = ChildNamed(arc.Element, label);
            if (child && kind.empty())
                kind = child.attribute("value") ? child.attribute("value").value()
                                                : LabelText(arc.Element, label).value_or("");
        }
        kind = AsciiLower(TrimmedText(kind));
        if (kind == "inhibitor")
            ++Losses["інгібіторні дуги"];
        else if (kind == "reset")
            ++Losses["скидальні дуги (reset)"];
        else if (!kind.empty() && kind != "normal")
            ++Losses["дуги типу «" + kind + "»"];
        if (!kind.empty() && kind != "normal")
            continue;

        const bool fromPlace = Nodes[arc.From].Kind == TNodeKind::Place;
        TVertex* vertex = net.Vertices[Nodes[fromPlace ? arc.From : arc.To].Object].get();
        TTransition* transition =
            net.Transitions[Nodes[fromPlace ? arc.To : arc.From].Object].get();
        TConnection stored;
        stored.Count = Count(arc.Element, "inscription", 1, 1, "вага дуги");
        const pugi::xml_node block = FindToolBlock(arc.Element);
        if (block)
            ReadToolBlock(block, stored, fail);
        // Parallel arcs become one connection whose weight is their sum, which must still be
        // a weight.
        const TConnectionType type = fromPlace ? ctVT : ctTV;
        for (const TConnection* existing :
             type == ctVT ? vertex->OutConnections : transition->OutConnections)
            if (existing->ConnectionType == type && existing->Vertex == vertex &&
                existing->Transition == transition &&
                static_cast<std::int64_t>(existing->Count) + stored.Count >
                    std::numeric_limits<std::int32_t>::max())
                Document.Fail(arc.Element,
                              "разом з паралельною дугою вага перевищує " +
                                  std::to_string(std::numeric_limits<std::int32_t>::max()));
        const std::size_t before = net.Connections.size();
        TConnection* connection =
            CreateConnection(net, type, stored.Count, vertex, transition, Options);
        if (net.Connections.size() == before)
            ++MergedArcs;
        stored = StoredCopy(*connection);
        if (block)
            ReadToolBlock(block, stored, fail);
        AssignStoredFields(*connection, stored, 0);
        NoteLosses(arc.Element, false);
    }
}

std::string TPnmlReader::Notes() const {
    std::string notes;
    if (!Losses.empty()) {
        notes = "Сітка цієї програми не може містити всього, що є у файлі «" +
                Document.Path().filename().string() + "». Пропущено:";
        for (const auto& [what, count] : Losses)
            notes += "\n• " + what + ": " + std::to_string(count);
    }
    auto add = [&](const std::string& line) { notes += (notes.empty() ? "" : "\n") + line; };
    if (MergedArcs > 0)
        add("Дуги, що повторюють наявну дугу між тим самим місцем і переходом, об'єднано з нею, "
            "а їхні ваги додано: " +
            std::to_string(MergedArcs) + ".");
    if (NetCount > 1)
        add("Кількість сіток у файлі: " + std::to_string(NetCount) + "; їх об'єднано в одну.");
    return notes;
}

TPnmlImport TPnmlReader::Read() {
    CheckRoot();
    ResolveReferences();
    ResolveArcs();
    TPnmlImport imported;
    Build(imported.Net);
    imported.Notes = Notes();
    return imported;
}

} // namespace

TPnmlImport ReadPnml(std::string_view bytes, const std::filesystem::path& path,
                     const TEngineGraphOptions* options) {
    return TPnmlReader(bytes, path, options).Read();
}

TPnmlImport ReadPnmlFile(const std::filesystem::path& path, const TEngineGraphOptions* options) {
    return ReadPnml(ReadNetBytes(path), path, options);
}

bool IsPnmlPath(const std::filesystem::path& path) {
    const std::string extension = AsciiLower(path.extension().string());
    return extension == ".pnml" || extension == ".xml";
}

std::string ImportPnml(TEngine& engine, const std::filesystem::path& path) {
    TPnmlImport imported = ReadPnmlFile(path, &engine.Graph.Options);
    ClearNet(engine.Net, &engine);
    engine.Net = std::move(imported.Net);
    engine.FileName.clear();
    return std::move(imported.Notes);
}

std::string NetFileBytes(const std::filesystem::path& path, const TEngineGraphOptions* options,
                         const std::function<void(const std::string&)>& note) {
    if (!IsPnmlPath(path))
        return ReadNetBytes(path);
    const TPnmlImport imported = ReadPnmlFile(path, options);
    if (!imported.Notes.empty() && note)
        note(imported.Notes);
    return NetText(imported.Net);
}
