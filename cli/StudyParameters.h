// Stored values of named objects changed from the command line: `--set NAME.FIELD=VALUE` before
// every run, and the values of a `--sweep NAME.FIELD=...` one after another.
#pragma once

#include "Engine.h"

#include <cstdint>
#include <string>
#include <vector>

enum TParameterField : std::uint8_t {
    pfMarking = 0,   // vertex
    pfDelay = 1,     // transition
    pfDeviation = 2, // transition
    pfPriority = 3,  // transition
    pfWeight = 4,    // transition
    pfLaw = 5,       // transition: default, uniform, normal, exponential
    pfCount = 6,     // connection
    pfFormula = 7,   // connection
};

struct TParameter {
    std::string Text;   // "NAME.FIELD" as typed (UTF-8)
    std::string Object; // the name, or "FROM->TO" for a connection (UTF-8)
    TParameterField Field = pfMarking;
};

struct TAssignment {
    TParameter Parameter;
    std::string Value; // as typed (UTF-8)
};

// "NAME.FIELD" and "NAME.FIELD=VALUE"; the field is what follows the last point of the part
// before "=". Throw TEngineError for an unknown field or a missing "=".
TParameter ParseParameter(const std::string& text);
TAssignment ParseAssignment(const std::string& text);

// The values of a sweep "NAME.FIELD=V1,V2,..." or "NAME.FIELD=A:B:STEP" (A, A+STEP, ... up to
// B), each checked against the field. Throws TEngineError for no values or a bad range.
std::vector<TAssignment> SweepAssignments(const std::string& text);

// Writes the value into the net. Throws TEngineError naming the object that was not found, or
// the value that does not fit the field. A changed marking restarts the vertex's statistics at
// the net's time, as if the file had held it.
void ApplyAssignment(TEngine& engine, const TAssignment& assignment);

// The value as JSON: a number for numeric fields, a string for a law or a formula.
std::string AssignmentValueJson(const TAssignment& assignment);
