// Small shared types of the engine: colours, object kind codes, delay and connection types.
#pragma once

#include <cstdint>

// A colour as 0x00BBGGRR: red + 256 * green + 65536 * blue.
using TColor = std::uint32_t;

constexpr TColor MakeColor(int red, int green, int blue) {
    return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) |
           (static_cast<TColor>(blue) << 16);
}

// Codes that name an object by kind wherever a kind and a pointer travel together.
enum TObjectKind : std::int32_t {
    okNone = 0,
    okVertex = 1,
    okTransition = 2,
    okConnection = 3,
};

enum TDelayType : std::uint8_t {
    dtDefault = 0,
    dtUniform = 1,
    dtNormal = 2,
    dtExponential = 3,
};

enum TConnectionType : std::uint8_t {
    ctVT = 0, // from the vertex to the transition
    ctTV = 1, // from the transition to the vertex
};
