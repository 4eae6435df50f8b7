#include "Formula.h"

#include "NetObjects.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <cmath>
#include <unordered_map>

namespace {

// The letters that begin a marking reference: Latin M and m, Cyrillic М and м (Windows-1251).
bool IsReferenceLetter(char c) {
    return UpperCase1251(c) == 'M' || c == '\xCC' || c == '\xEC';
}

bool IsOperator(char c) {
    return c == '+' || c == '-' || c == '*' || c == '/';
}

// A "+" or "-" right after the exponent letter of a number belongs to that number.
bool IsExponentSign(const std::string& text, std::size_t i) {
    if (i < 2 || (text[i] != '+' && text[i] != '-'))
        return false;
    const char letter = text[i - 1];
    const char before = text[i - 2];
    return (letter == 'E' || letter == 'e') && ((before >= '0' && before <= '9') || before == '.');
}

bool EndsOperand(const std::string& text, std::size_t i) {
    return IsOperator(text[i]) && !IsExponentSign(text, i);
}

// Replaces every marking reference by the vertex's marking.
std::optional<std::string> Substitute(const std::string& formula, const TEngineNet& net) {
    std::string text;
    std::size_t i = 0;
    while (i < formula.size()) {
        const char c = formula[i];
        if (!IsReferenceLetter(c)) {
            text += c;
            ++i;
            continue;
        }
        if (formula.size() - i - 1 <= 1 || formula[i + 1] != '(')
            return std::nullopt;
        const std::size_t nameStart = i + 2;
        std::size_t close = formula.find(')', nameStart);
        if (close == std::string::npos)
            close = formula.size();
        const std::int32_t vertex = FindVertex(net, formula.substr(nameStart, close - nameStart));
        if (vertex < 0)
            return std::nullopt;
        text += std::to_string(net.Vertices[vertex]->Marking);
        i = close + 1;
    }
    return text;
}

// Rewrites the leftmost product or quotient until none is left.
bool ReduceProducts(std::string& text) {
    for (;;) {
        const std::size_t op = text.find_first_of("*/");
        if (op == std::string::npos)
            return true;
        if (op == 0 || op == text.size() - 1)
            return false;
        std::size_t left = op;
        while (left > 0 && !EndsOperand(text, left - 1))
            --left;
        std::size_t right = op + 1;
        while (right < text.size() && !EndsOperand(text, right))
            ++right;
        if (left == op || right == op + 1)
            return false;
        const auto a = TryTextToFloat(std::string_view(text).substr(left, op - left));
        const auto b = TryTextToFloat(std::string_view(text).substr(op + 1, right - op - 1));
        if (!a || !b)
            return false;
        if (text[op] == '/' && *b == 0)
            return false;
        const double value = text[op] == '*' ? *a * *b : *a / *b;
        if (!std::isfinite(value))
            return false;
        text.replace(left, right - left, FloatToText("", value));
    }
}

// Adds up the signed terms.
std::optional<double> SumTerms(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    double sum = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool split = i == text.size() || ((text[i] == '+' || text[i] == '-') && i > start &&
                                                !IsExponentSign(text, i));
        if (!split)
            continue;
        const auto term = TryTextToFloat(std::string_view(text).substr(start, i - start));
        if (!term)
            return std::nullopt;
        sum += *term;
        start = i;
    }
    if (!std::isfinite(sum))
        return std::nullopt;
    return sum;
}

// What ReduceProducts leaves of the text, found in one pass. Rewriting never changes which
// characters are operators: a product's value is written without a sign of its own and ends with
// a digit, so the operators after it stay what they were, and those before it look only further
// left. The products and quotients therefore go from left to right, each taking the value of the
// one before it, written and read back as the rewriting does, as its left operand.
std::optional<std::string> ReducedProducts(const std::string& text) {
    std::string reduced;
    reduced.reserve(text.size());
    std::string left; // the operand before the pending operator, or the value of the products
    std::size_t start = 0;
    char pending = 0; // the product or quotient waiting for its right operand
    const auto close = [&](std::size_t end) -> bool {
        const std::string_view operand = std::string_view(text).substr(start, end - start);
        if (pending == 0) {
            left.assign(operand);
            return true;
        }
        if (left.empty() || operand.empty())
            return false;
        const auto a = TryTextToFloat(left);
        const auto b = TryTextToFloat(operand);
        if (!a || !b)
            return false;
        if (pending == '/' && *b == 0)
            return false;
        const double value = pending == '*' ? *a * *b : *a / *b;
        if (!std::isfinite(value))
            return false;
        left = FloatToText("", value);
        return true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!EndsOperand(text, i))
            continue;
        if (!close(i))
            return std::nullopt;
        start = i + 1;
        if (text[i] == '*' || text[i] == '/') {
            pending = text[i];
            continue;
        }
        pending = 0;
        reduced += left;
        reduced += text[i];
    }
    if (!close(text.size()))
        return std::nullopt;
    reduced += left;
    return reduced;
}

// The count of the summed terms: rounded, and nothing beyond the 32-bit range.
std::optional<std::int32_t> CountOf(const std::string& reducedText) {
    const auto sum = SumTerms(reducedText);
    if (!sum)
        return std::nullopt;
    const double rounded = RoundHalfEven(*sum);
    // A count beyond the 32-bit range is an overflow.
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

} // namespace

std::optional<std::int32_t> EvaluateFormulaText(const std::string& formula, const TEngineNet& net) {
    auto text = Substitute(formula, net);
    if (!text || !ReduceProducts(*text))
        return std::nullopt;
    return CountOf(*text);
}

std::shared_ptr<const TCompiledFormula> CompileFormula(const std::string& formula) {
    auto compiled = std::make_shared<TCompiledFormula>();
    compiled->Source = formula;
    std::unordered_map<std::string, std::int32_t> known;
    std::string literal;
    std::size_t i = 0;
    while (i < formula.size()) {
        const char c = formula[i];
        if (!IsReferenceLetter(c)) {
            literal += c;
            ++i;
            continue;
        }
        if (formula.size() - i - 1 <= 1 || formula[i + 1] != '(') {
            compiled->Valid = false;
            return compiled;
        }
        const std::size_t nameStart = i + 2;
        std::size_t close = formula.find(')', nameStart);
        if (close == std::string::npos)
            close = formula.size();
        std::string name = formula.substr(nameStart, close - nameStart);
        const auto [found, added] =
            known.try_emplace(name, static_cast<std::int32_t>(compiled->Names.size()));
        if (added)
            compiled->Names.push_back(std::move(name));
        compiled->Pieces.push_back({std::move(literal), found->second});
        literal.clear();
        i = close + 1;
    }
    compiled->Pieces.push_back({std::move(literal), -1});
    return compiled;
}

std::optional<std::int32_t> EvaluateCompiledFormula(const TCompiledFormula& formula,
                                                    const TEngineNet& net) {
    if (!formula.Valid)
        return std::nullopt;
    // Each name is looked up once; many names share one index of the vertices by name.
    std::vector<std::string> markings(formula.Names.size());
    constexpr std::size_t kLookupsWithoutIndex = 8;
    std::unordered_map<std::string, std::int32_t> index;
    if (formula.Names.size() > kLookupsWithoutIndex)
        for (const auto& vertex : net.Vertices)
            index.try_emplace(UpperCase1251(vertex->Name), vertex->Index);
    for (std::size_t n = 0; n < formula.Names.size(); ++n) {
        std::int32_t vertex = -1;
        if (formula.Names.size() > kLookupsWithoutIndex) {
            const auto found = index.find(UpperCase1251(formula.Names[n]));
            if (found != index.end())
                vertex = found->second;
        } else {
            vertex = FindVertex(net, formula.Names[n]);
        }
        if (vertex < 0)
            return std::nullopt;
        markings[n] = std::to_string(net.Vertices[vertex]->Marking);
    }
    std::string text;
    for (const TCompiledFormula::TPiece& piece : formula.Pieces) {
        text += piece.Text;
        if (piece.Name >= 0)
            text += markings[piece.Name];
    }
    const auto reduced = ReducedProducts(text);
    if (!reduced)
        return std::nullopt;
    return CountOf(*reduced);
}

std::optional<std::int32_t> EvaluateFormula(const TConnection& connection, const TEngineNet& net) {
    if (connection.CompiledFormula == nullptr ||
        connection.CompiledFormula->Source != connection.Formula)
        connection.CompiledFormula = CompileFormula(connection.Formula);
    return EvaluateCompiledFormula(*connection.CompiledFormula, net);
}

TFormulaCheck CheckFormulas(const TEngineNet& net) {
    for (const auto& connection : net.Connections)
        if (connection->UseFunction && !EvaluateFormula(*connection, net))
            return {false, connection->Index};
    return {};
}

std::string FormulaRefusalMessage(const TConnection& connection) {
    const std::string& vertex = connection.Vertex->Name;
    const std::string& transition = connection.Transition->Name;
    const bool fromVertex = connection.ConnectionType == ctVT;
    return "Неможливо запустити імітацію. Формула зв'язку " +
           Win1251ToUtf8(fromVertex ? vertex : transition) + " -> " +
           Win1251ToUtf8(fromVertex ? transition : vertex) +
           " задана неправильно. Можливо, в формулі неправильно вказані імена вершин.";
}
