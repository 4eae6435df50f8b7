// Random nets for comparing the engine's simulation step with the literal one. A net is built from
// a seed alone, so a failing case is rebuilt from the seed the comparison reports.
#pragma once

#include "NetRecords.h"

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

// The tests' own random numbers; the engine's generator stays for the simulation alone.
using TTestRandom = std::mt19937_64;

inline int DrawInteger(TTestRandom& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

inline double DrawReal(TTestRandom& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

inline bool DrawChance(TTestRandom& random, double probability) {
    return std::bernoulli_distribution(probability)(random);
}

template <typename Value> Value DrawOneOf(TTestRandom& random, const std::vector<Value>& values) {
    return values[DrawInteger(random, 0, static_cast<int>(values.size()) - 1)];
}

template <typename Value>
Value DrawOneOf(TTestRandom& random, std::initializer_list<Value> values) {
    return DrawOneOf(random, std::vector<Value>(values));
}

enum class TRandomNetKind {
    Small,       // 1 to 40 vertices and as many transitions
    Large,       // about 150 of each
    Overflowing, // a few objects and one transition that, once enabled, stays enabled for ever
};

// What the generator put into a net, so that a test can check the corpus covers the cases.
struct TRandomNetTraits {
    std::int32_t FormulaConnections = 0;
    std::int32_t InformConnections = 0;
    std::int32_t IntegerDelays = 0; // always the same whole number: completions coincide
};

// Builds the net of the seed into an empty net, monitoring some, all or none of its objects from
// time 0. Outside the overflowing kind every transition with inputs takes at least one token per
// launch, a transition whose delay can come out as 0 only feeds vertices created after all of
// its inputs, and only slow transitions multiply tokens: tokens cannot circle at one instant for
// ever, no buffer grows without end, and the work of a run grows at most geometrically with
// the model time.
TRandomNetTraits BuildRandomNet(TEngineNet& net, std::uint64_t seed, TRandomNetKind kind);

// Whether the transition's delay law can give exactly 0.
bool CanBeInstant(const TTransition& transition);
// Whether the transition's delay law never gives less than 1.
bool IsSlow(const TTransition& transition);
// Whether the connection takes tokens on every launch: a plain input arc with a positive count.
bool TakesTokens(const TConnection& connection);

// The net as text, one object a line, for failure reports.
std::string DescribeNet(const TEngineNet& net);
