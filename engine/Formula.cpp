#include "Formula.h"

#include "NetObjects.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <cmath>

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

} // namespace

std::optional<std::int32_t> EvaluateFormulaText(const std::string& formula, const TEngineNet& net) {
    auto text = Substitute(formula, net);
    if (!text || !ReduceProducts(*text))
        return std::nullopt;
    const auto sum = SumTerms(*text);
    if (!sum)
        return std::nullopt;
    const double rounded = RoundHalfEven(*sum);
    // A count beyond the 32-bit range is an overflow.
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int32_t> EvaluateFormula(const TConnection& connection, const TEngineNet& net) {
    return EvaluateFormulaText(connection.Formula, net);
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
