// Connection counts computed from formulas over the markings of named vertices, such as
// "M(Queue)*2" or "m(p1) - 1". The evaluator rewrites the text: it substitutes the markings, then
// replaces the leftmost product or quotient by its value written as text until none is left,
// then adds up the signed terms. That textual procedure decides which formulas are valid.
#pragma once

#include "NetRecords.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The count of the connection's formula on the current markings (compiled once per formula text
// and kept with the connection), or nothing when the formula is
// invalid (a stray character, an unknown vertex, a division by zero, an overflow).
std::optional<std::int32_t> EvaluateFormula(const TConnection& connection, const TEngineNet& net);
// The same for a formula text, by rewriting the text as described above: the reference that
// the compiled formulas are held to.
std::optional<std::int32_t> EvaluateFormulaText(const std::string& formula, const TEngineNet& net);

// A formula taken apart once: the text between the marking references, and the names referred
// to, each once. Its evaluation gives what the rewriting gives, in time linear in the text.
struct TCompiledFormula {
    struct TPiece {
        std::string Text;       // as written
        std::int32_t Name = -1; // the marking of Names[Name] follows the text, unless -1
    };
    std::string Source;
    bool Valid = true; // false when a reference letter is not followed by "(" and a name
    std::vector<TPiece> Pieces;
    std::vector<std::string> Names;
};
std::shared_ptr<const TCompiledFormula> CompileFormula(const std::string& formula);
std::optional<std::int32_t> EvaluateCompiledFormula(const TCompiledFormula& formula,
                                                    const TEngineNet& net);

struct TFormulaCheck {
    bool Valid = true;
    std::int32_t Position = -1; // of the first connection whose formula is invalid
};

// Evaluates every formula of the net with the current markings.
TFormulaCheck CheckFormulas(const TEngineNet& net);

// The message that refuses a start because of the connection's formula (UTF-8).
std::string FormulaRefusalMessage(const TConnection& connection);
