// Small shared types of the engine: colours, object kind codes, delay and connection types, the
// edit and run modes.
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

// What the mouse is doing on the canvas: a gesture under way, or a creation tool waiting for its
// click. The creation tools come last, so that `>= emCreateVertex` tells them all.
enum TEditMode : std::uint8_t {
    emIdle = 0,
    emRubberBand = 1,
    emPan = 2,
    emDragZoom = 3,
    emMove = 4,
    emCreateVertex = 5,
    emCreateTransition = 6,
    emCreateConnection = 7,
    emCreateInformConnection = 8,
};

enum TRunMode : std::uint8_t {
    rmStopped = 0,
    rmInterval = 1, // up to the end of an interval of model time, as fast as it goes
    rmRealTime = 2, // model time paced by the wall clock
};

// Why a simulation step told its caller to stop the run.
enum TRunStop : std::uint8_t {
    rsNone = 0,           // the step did not stop the run
    rsOverflow = 1,       // a launch buffer grew beyond BufferOverflowLimit
    rsEndlessInstant = 2, // the net kept firing at one model time beyond InstantEventLimit
};
