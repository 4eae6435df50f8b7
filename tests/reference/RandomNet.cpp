#include "RandomNet.h"

#include "Monitoring.h"
#include "NetObjects.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace {

// The priorities and weights a net's transitions draw from: few distinct values, so that equal
// priorities and equal or zero weights meet in conflicts. Some priorities lie below the value
// the choice starts its search from; weights of -1 and 1 cancel out.
struct TPalette {
    std::vector<std::int32_t> Priorities;
    std::vector<double> Weights;
};

TPalette DrawPalette(TTestRandom& random) {
    const std::vector<std::vector<std::int32_t>> priorities = {
        {0}, {0, 1}, {-2, 0, 0, 3}, {-5, -5, 2, 7, INT_MIN + 1}, {-2000000000, INT_MIN + 1}};
    const std::vector<std::vector<double>> weights = {
        {1},
        {0},
        {0, 1, 1, 2.5},
        {-1, 1, 2},
        {0, DrawReal(random, 0, 3), DrawReal(random, 0, 3), DrawReal(random, 0, 3)}};
    return {DrawOneOf(random, priorities), DrawOneOf(random, weights)};
}

std::int32_t DrawMarking(TTestRandom& random) {
    const int kind = DrawInteger(random, 0, 49);
    if (kind == 0)
        return -DrawInteger(random, 1, 3);
    if (kind < 20)
        return DrawInteger(random, 4, 20);
    return DrawInteger(random, 0, 3);
}

// Zero and whole delays make completions coincide, reals interleave them; a negative delay acts
// as 0 and a huge one stays pending for the whole run.
double DrawDelayValue(TTestRandom& random) {
    const int kind = DrawInteger(random, 0, 19);
    if (kind < 2)
        return kind == 0 ? -1 : 1e9;
    if (kind < 5)
        return 0;
    return kind < 12 ? DrawInteger(random, 1, 5) : DrawReal(random, 0.05, 8);
}

// One marking reference, in either letter case.
std::string Reference(TTestRandom& random, const TVertex& vertex) {
    std::string name = vertex.Name;
    if (DrawChance(random, 0.3))
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return (DrawChance(random, 0.3) ? "m(" : "M(") + name + ")";
}

TVertex* RandomVertex(TEngineNet& net, TTestRandom& random) {
    return net.Vertices[DrawInteger(random, 0, static_cast<int>(net.Vertices.size()) - 1)].get();
}

// Formulas that evaluate to positive counts, to 0 or below, and some that fail on a division
// by an empty vertex or on a name that no vertex bears. Bounded ones stay below 14 whatever the
// markings: an output counted by a marking could double that marking at each completion.
std::string RandomFormula(TEngineNet& net, TTestRandom& random, bool bounded) {
    const std::string a = Reference(random, *RandomVertex(net, random));
    const std::string b = Reference(random, *RandomVertex(net, random));
    std::vector<std::string> formulas = {
        "10/" + a,       "2-" + a,           "3", "0", "-1", "M(Q9)", "1-2*" + a,
        "6/" + a + "*2", "10/" + a + "-" + b};
    if (!bounded)
        formulas.insert(formulas.end(),
                        {a + "*2", a + " - 1", a + " -1", b + "/" + a + "+1", a + "-" + b, a,
                         a + "/2", a + "*" + b + "/3", a + "+" + b, "2.5*" + a});
    return DrawOneOf(random, formulas);
}

void MakeFormula(TConnection& connection, TEngineNet& net, TTestRandom& random,
                 TRandomNetTraits& traits) {
    connection.UseFunction = true;
    connection.Formula = RandomFormula(net, random, connection.ConnectionType == ctTV);
    ++traits.FormulaConnections;
}

void MakeInform(TConnection& connection, std::int32_t count, TRandomNetTraits& traits) {
    connection.IsInform = true;
    connection.Count = count;
    ++traits.InformConnections;
}

// A further input arc: another taking one, a zero count, a test of the marking, or a formula.
void VaryInput(TConnection& connection, TEngineNet& net, TTestRandom& random,
               TRandomNetTraits& traits) {
    const int kind = DrawInteger(random, 0, 19);
    if (kind < 2) {
        connection.Count = 0;
    } else if (kind < 8) {
        MakeInform(connection, DrawInteger(random, 0, 2), traits);
    } else if (kind < 13) {
        MakeFormula(connection, net, random, traits);
        connection.IsInform = DrawChance(random, 0.3);
        traits.InformConnections += connection.IsInform;
    }
}

// Outputs of a transition that can complete at its launch instant go only to vertices created
// after all of its inputs. Only a slow transition may put out more tokens than it took, or a
// count from a formula: tokens then multiply at most once per unit of model time. Most outputs go
// to vertices that some transition reads, so that tokens keep moving.
void AddOutputs(TTransition& transition, TEngineNet& net, TTestRandom& random,
                TRandomNetTraits& traits) {
    std::int32_t highestInput = -1;
    std::int32_t taken = 0;
    for (const TConnection* input : transition.InConnections) {
        highestInput = std::max(highestInput, input->Vertex->Index);
        taken += TakesTokens(*input) ? input->Count : 0;
    }
    const std::size_t lowest = CanBeInstant(transition) ? highestInput + 1 : 0;
    std::vector<TVertex*> allowed, read;
    for (std::size_t i = lowest; i < net.Vertices.size(); ++i) {
        allowed.push_back(net.Vertices[i].get());
        if (!net.Vertices[i]->OutConnections.empty())
            read.push_back(allowed.back());
    }
    if (allowed.empty())
        return;
    const bool slow = IsSlow(transition);
    const int outputs = DrawOneOf(random, {0, 1, 1, 1, 2, 2, 2, 3, 3, 3});
    for (int k = 0; k < outputs; ++k) {
        TVertex* vertex =
            DrawOneOf(random, !read.empty() && DrawChance(random, 0.85) ? read : allowed);
        std::int32_t count = DrawOneOf(random, {1, 1, 1, 2, 3, 0});
        if (!slow) {
            // Mostly what was taken goes on, so that tokens keep moving.
            count = k + 1 == outputs && DrawChance(random, 0.85) ? taken : std::min(count, taken);
            taken -= count;
        }
        const std::size_t before = net.Connections.size();
        TConnection* connection = CreateConnection(net, ctTV, count, vertex, &transition, nullptr);
        if (slow && net.Connections.size() > before && DrawChance(random, 0.2))
            MakeFormula(*connection, net, random, traits);
    }
}

TTransition* AddTransition(TEngineNet& net, TTestRandom& random, const TPalette& palette,
                           TRandomNetTraits& traits) {
    TTransition* transition = CreateTransition(net, "", 0, DrawDelayValue(random), 0, nullptr);
    transition->DelayType = static_cast<TDelayType>(DrawInteger(random, dtDefault, dtExponential));
    transition->Deviation =
        DrawOneOf(random, {0.0, DrawInteger(random, 1, 2) + 0.0, DrawReal(random, 0, 2)});
    transition->Priority = DrawOneOf(random, palette.Priorities);
    transition->Weight = DrawOneOf(random, palette.Weights);
    const double delay = transition->Delay;
    const bool fixed = transition->DelayType == dtDefault ||
                       (transition->DelayType != dtExponential && transition->Deviation == 0);
    if (fixed && delay >= 0 && delay < 1e9 && delay == std::floor(delay))
        ++traits.IntegerDelays;
    return transition;
}

// An ordinary transition's inputs: the first takes tokens, further ones vary.
void AddOrdinaryTransition(TEngineNet& net, TTestRandom& random, const TPalette& palette,
                           TRandomNetTraits& traits) {
    TTransition* transition = AddTransition(net, random, palette, traits);
    std::vector<TVertex*> vertices;
    for (auto& vertex : net.Vertices)
        vertices.push_back(vertex.get());
    std::shuffle(vertices.begin(), vertices.end(), random);
    const int inputs =
        std::min(DrawOneOf(random, {0, 1, 1, 1, 2, 2, 3, 3}), static_cast<int>(vertices.size()));
    for (int k = 0; k < inputs; ++k) {
        TVertex* vertex = vertices[k];
        const std::size_t before = net.Connections.size();
        TConnection* connection = CreateConnection(net, ctVT, DrawOneOf(random, {1, 1, 1, 2, 3}),
                                                   vertex, transition, nullptr);
        if (k > 0 && net.Connections.size() > before)
            VaryInput(*connection, net, random, traits);
    }
}

// A transition whose inputs need and take nothing: a test for no tokens, a zero count, or either
// beside a formula that gives 0 or less. Unless its vertex holds fewer than none, it launches
// again and again at the first instant until its buffer overflows.
void AddEverEnabledTransition(TEngineNet& net, TTestRandom& random, const TPalette& palette,
                              TRandomNetTraits& traits) {
    TTransition* transition = AddTransition(net, random, palette, traits);
    const auto vertices = static_cast<int>(net.Vertices.size());
    const int tested = DrawInteger(random, 0, vertices - 1);
    TConnection* input =
        CreateConnection(net, ctVT, 0, net.Vertices[tested].get(), transition, nullptr);
    if (DrawChance(random, 0.5))
        MakeInform(*input, 0, traits);
    // The formula sits at another vertex: at the same one it would merge into the test.
    if (vertices > 1 && DrawChance(random, 0.5)) {
        const int other = (tested + DrawInteger(random, 1, vertices - 1)) % vertices;
        TConnection* formula =
            CreateConnection(net, ctVT, 1, net.Vertices[other].get(), transition, nullptr);
        formula->UseFunction = true;
        formula->Formula = DrawOneOf(random, {"0", "-1", "M(P1)-m(p1)"});
        formula->IsInform = DrawChance(random, 0.5);
        ++traits.FormulaConnections;
    }
    const int outputs = DrawInteger(random, 0, 2);
    for (int k = 0; k < outputs; ++k)
        CreateConnection(net, ctTV, 1, RandomVertex(net, random), transition, nullptr);
}

void MonitorSome(TEngineNet& net, TTestRandom& random) {
    const int mode = DrawInteger(random, 0, 3); // none, all, or about half
    const auto chosen = [&] { return mode == 1 || (mode >= 2 && DrawChance(random, 0.5)); };
    for (auto& vertex : net.Vertices)
        if (chosen())
            StartMonitoring(*vertex, 0);
    for (auto& transition : net.Transitions)
        if (chosen())
            StartMonitoring(*transition, 0);
}

// The least delay the law can draw, before a negative one becomes 0; the exponential law draws
// positive delays as small as any.
double ShortestDelay(const TTransition& t) {
    switch (t.DelayType) {
    case dtUniform:
        return t.Delay - std::abs(t.Deviation);
    case dtNormal:
        return t.Delay - 6 * std::abs(t.Deviation);
    case dtExponential:
        return t.Delay > 0 ? std::numeric_limits<double>::denorm_min() : 0;
    default:
        return t.Delay;
    }
}

std::string Number(double value) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

} // namespace

bool CanBeInstant(const TTransition& transition) {
    return ShortestDelay(transition) <= 0;
}

bool IsSlow(const TTransition& transition) {
    return ShortestDelay(transition) >= 1;
}

bool TakesTokens(const TConnection& connection) {
    return connection.ConnectionType == ctVT && !connection.IsInform && !connection.UseFunction &&
           connection.Count > 0;
}

TRandomNetTraits BuildRandomNet(TEngineNet& net, std::uint64_t seed, TRandomNetKind kind) {
    TTestRandom random(seed);
    TRandomNetTraits traits;
    const int vertices = kind == TRandomNetKind::Large ? DrawInteger(random, 120, 150)
                         : kind == TRandomNetKind::Overflowing
                             ? DrawInteger(random, 1, 4)
                             : DrawInteger(random, 1, DrawChance(random, 0.5) ? 8 : 40);
    // Mostly about as many transitions as vertices, sometimes a crowd of them at a few vertices.
    const int transitions =
        DrawChance(random, 0.8)
            ? std::max(1, vertices + DrawInteger(random, -vertices / 3, vertices / 3))
            : DrawInteger(random, 1, std::min(40, 3 * vertices));
    for (int k = 0; k < vertices; ++k)
        CreateVertex(net, "", DrawMarking(random), 0, 0, nullptr);
    const TPalette palette = DrawPalette(random);
    for (int k = 0; k < transitions; ++k)
        AddOrdinaryTransition(net, random, palette, traits);
    for (auto& transition : net.Transitions)
        AddOutputs(*transition, net, random, traits);
    if (kind == TRandomNetKind::Overflowing)
        AddEverEnabledTransition(net, random, palette, traits);
    MonitorSome(net, random);
    return traits;
}

std::string DescribeNet(const TEngineNet& net) {
    std::string text;
    for (const auto& v : net.Vertices)
        text += v->Name + " marking " + std::to_string(v->Marking) +
                (v->IsMonitoring ? " monitored\n" : "\n");
    for (const auto& t : net.Transitions)
        text += t->Name + " law " + std::to_string(t->DelayType) + " delay " + Number(t->Delay) +
                " deviation " + Number(t->Deviation) + " priority " + std::to_string(t->Priority) +
                " weight " + Number(t->Weight) + (t->IsMonitoring ? " monitored\n" : "\n");
    for (const auto& c : net.Connections) {
        const bool in = c->ConnectionType == ctVT;
        text += (in ? c->Vertex->Name + " -> " + c->Transition->Name
                    : c->Transition->Name + " -> " + c->Vertex->Name) +
                " count " + std::to_string(c->Count) + (c->IsInform ? " inform" : "") +
                (c->UseFunction ? " formula \"" + c->Formula + "\"\n" : "\n");
    }
    return text;
}
