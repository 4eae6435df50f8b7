#include "StudyParameters.h"

#include "ArgumentNumbers.h"
#include "EngineError.h"
#include "Monitoring.h"
#include "RunFigures.h"
#include "TextCodec.h"

#include <charconv>
#include <cmath>

namespace {

struct TFieldName {
    const char* Name;
    TParameterField Field;
};

constexpr TFieldName kFieldNames[] = {
    {"marking", pfMarking},   {"delay", pfDelay},     {"deviation", pfDeviation},
    {"priority", pfPriority}, {"weight", pfWeight},   {"law", pfLaw},
    {"count", pfCount},       {"formula", pfFormula},
};

constexpr const char* kLawNames[] = {"default", "uniform", "normal", "exponential"};

const char* const kKnownFields = "marking (вершина); delay, deviation, priority, weight, law "
                                 "(перехід); count, formula (зв'язок ВЕРШИНА->ПЕРЕХІД або "
                                 "ПЕРЕХІД->ВЕРШИНА)";

// The most values one sweep may expand to.
constexpr std::size_t kMostSweepValues = 100000;

bool IsIntegerField(TParameterField field) {
    return field == pfMarking || field == pfPriority || field == pfCount;
}

bool IsRealField(TParameterField field) {
    return field == pfDelay || field == pfDeviation || field == pfWeight;
}

std::optional<TDelayType> LawOfName(const std::string& name) {
    for (std::size_t i = 0; i < std::size(kLawNames); ++i)
        if (name == kLawNames[i])
            return static_cast<TDelayType>(i);
    return std::nullopt;
}

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

// Checks that the value fits the field; throws naming the parameter and the value.
void CheckValue(const TAssignment& assignment) {
    const TParameterField field = assignment.Parameter.Field;
    const std::string& value = assignment.Value;
    const std::string where = Quoted(assignment.Parameter.Text) + ": " + Quoted(value);
    std::int32_t integer = 0;
    double real = 0;
    if (IsIntegerField(field) && !ParseSignedArgument(value, integer))
        throw TEngineError(where + " не є цілим числом");
    if (IsRealField(field) && !ParseRealArgument(value, real))
        throw TEngineError(where + " не є дійсним числом (з крапкою, як 1.5)");
    if (field == pfLaw && !LawOfName(value))
        throw TEngineError(where + " не є законом розподілу; можливі: default, uniform, "
                                   "normal, exponential");
    if (field == pfFormula && value.find_first_of("\r\n") != std::string::npos)
        throw TEngineError(where + ": формула має бути одним рядком");
}

// The one object of the kind with the name; throws when there is none or several.
template <typename Object>
Object& FindNamed(const std::vector<std::unique_ptr<Object>>& objects, const std::string& utf8,
                  const char* kindGenitive, const char* kindGenitivePlural) {
    const std::string name = Utf8ToWin1251(utf8);
    Object* found = nullptr;
    for (const auto& object : objects) {
        if (object->Name != name)
            continue;
        if (found != nullptr)
            throw TEngineError(std::string("У сітці кілька ") + kindGenitivePlural + " з назвою " +
                               Quoted(utf8));
        found = object.get();
    }
    if (found == nullptr)
        throw TEngineError(std::string("У сітці немає ") + kindGenitive + " з назвою " +
                           Quoted(utf8));
    return *found;
}

// The connection "FROM->TO": from a vertex to a transition, or from a transition to a vertex.
TConnection& FindConnection(const TEngineNet& net, const std::string& text) {
    const auto arrow = text.find("->");
    if (arrow == std::string::npos)
        throw TEngineError("Зв'язок задають як ВЕРШИНА->ПЕРЕХІД або ПЕРЕХІД->ВЕРШИНА, а не " +
                           Quoted(text));
    const std::string from = Utf8ToWin1251(text.substr(0, arrow));
    const std::string to = Utf8ToWin1251(text.substr(arrow + 2));
    TConnection* found = nullptr;
    for (const auto& connection : net.Connections) {
        const bool vertexToTransition = connection->ConnectionType == ctVT &&
                                        connection->Vertex->Name == from &&
                                        connection->Transition->Name == to;
        const bool transitionToVertex = connection->ConnectionType == ctTV &&
                                        connection->Transition->Name == from &&
                                        connection->Vertex->Name == to;
        if (!vertexToTransition && !transitionToVertex)
            continue;
        if (found != nullptr)
            throw TEngineError("У сітці кілька зв'язків " + Quoted(text));
        found = connection.get();
    }
    if (found == nullptr)
        throw TEngineError("У сітці немає зв'язку " + Quoted(text));
    return *found;
}

} // namespace

TParameter ParseParameter(const std::string& text) {
    const auto point = text.rfind('.');
    if (point == std::string::npos || point == 0)
        throw TEngineError(Quoted(text) + ": очікується НАЗВА.ПОЛЕ, де поле - " + kKnownFields);
    TParameter parameter{text, text.substr(0, point), pfMarking};
    const std::string field = text.substr(point + 1);
    for (const TFieldName& name : kFieldNames)
        if (field == name.Name) {
            parameter.Field = name.Field;
            return parameter;
        }
    throw TEngineError(Quoted(text) + ": невідоме поле " + Quoted(field) +
                       "; можливі поля: " + kKnownFields);
}

TAssignment ParseAssignment(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos)
        throw TEngineError(Quoted(text) + ": очікується НАЗВА.ПОЛЕ=ЗНАЧЕННЯ");
    TAssignment assignment{ParseParameter(text.substr(0, equals)), text.substr(equals + 1)};
    CheckValue(assignment);
    return assignment;
}

std::vector<TAssignment> SweepAssignments(const std::string& text) {
    const auto equals = text.find('=');
    if (equals == std::string::npos)
        throw TEngineError(Quoted(text) + ": очікується НАЗВА.ПОЛЕ=V1,V2,... або "
                                          "НАЗВА.ПОЛЕ=A:B:КРОК");
    const TParameter parameter = ParseParameter(text.substr(0, equals));
    const std::string values = text.substr(equals + 1);
    std::vector<TAssignment> sweep;
    const auto firstColon = values.find(':');
    if (firstColon != std::string::npos && parameter.Field != pfFormula) {
        const auto secondColon = values.find(':', firstColon + 1);
        double from = 0, to = 0, step = 0;
        if (secondColon == std::string::npos ||
            !ParseRealArgument(values.substr(0, firstColon), from) ||
            !ParseRealArgument(values.substr(firstColon + 1, secondColon - firstColon - 1), to) ||
            !ParseRealArgument(values.substr(secondColon + 1), step))
            throw TEngineError(Quoted(text) + ": ряд задають як A:B:КРОК трьома числами");
        if (!IsIntegerField(parameter.Field) && !IsRealField(parameter.Field))
            throw TEngineError(Quoted(text) + ": ряд A:B:КРОК можливий лише для числового поля");
        if (step <= 0 || to < from)
            throw TEngineError(Quoted(text) + ": у ряді A:B:КРОК крок має бути додатним, а B "
                                              "не меншим за A");
        // Counting the values from the span, with a relative slack for the rounding of a step
        // such as 0.1, gives every value up to B; a value the slack lets past B is dropped.
        const double count = std::floor((to - from) / step * (1 + 1e-12)) + 1;
        if (!(count <= double(kMostSweepValues)))
            throw TEngineError(Quoted(text) + ": забагато значень (більше за " +
                               std::to_string(kMostSweepValues) + ")");
        for (std::size_t k = 0; k < std::size_t(count); ++k) {
            double value = from + double(k) * step;
            // Fifteen digits drop the rounding of the sum, so that 0.1:0.5:0.1 gives 0.3 and
            // not 0.30000000000000004, unless that moves the value by more than a trace of the
            // step; A itself is taken as written.
            char digits[64];
            const auto written = std::to_chars(digits, digits + sizeof digits, value,
                                               std::chars_format::general, 15);
            double rounded = value;
            std::from_chars(digits, written.ptr, rounded);
            if (k > 0 && std::fabs(rounded - value) <= step * 1e-9)
                value = rounded;
            if (value > to && k > 0)
                break;
            std::string valueText;
            if (IsIntegerField(parameter.Field)) {
                if (std::fabs(value) > 2147483647.0)
                    throw TEngineError(Quoted(text) + ": значення " + JsonReal(value) +
                                       " виходить за межі цілих чисел (до 2147483647)");
                if (value != std::nearbyint(value))
                    throw TEngineError(Quoted(text) + ": значення " + JsonReal(value) +
                                       " не є цілим числом");
                valueText = std::to_string(static_cast<std::int32_t>(value));
            } else {
                valueText = JsonReal(value);
            }
            if (!sweep.empty() && sweep.back().Value == valueText)
                throw TEngineError(Quoted(text) + ": крок замалий: сусідні значення збігаються");
            sweep.push_back({parameter, valueText});
        }
        return sweep;
    }
    for (std::size_t start = 0;;) {
        const auto comma = values.find(',', start);
        const std::string value =
            values.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (value.empty())
            throw TEngineError(Quoted(text) + ": порожнє значення в переліку");
        TAssignment assignment{parameter, value};
        CheckValue(assignment);
        sweep.push_back(assignment);
        if (sweep.size() > kMostSweepValues)
            throw TEngineError(Quoted(text) + ": забагато значень (більше за " +
                               std::to_string(kMostSweepValues) + ")");
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return sweep;
}

void ApplyAssignment(TEngine& engine, const TAssignment& assignment) {
    TEngineNet& net = engine.Net;
    const TParameter& parameter = assignment.Parameter;
    const std::string& value = assignment.Value;
    std::int32_t integer = 0;
    double real = 0;
    if (IsIntegerField(parameter.Field))
        ParseSignedArgument(value, integer);
    if (IsRealField(parameter.Field))
        ParseRealArgument(value, real);
    switch (parameter.Field) {
    case pfMarking: {
        TVertex& vertex = FindNamed(net.Vertices, parameter.Object, "вершини", "вершин");
        vertex.Marking = integer;
        if (vertex.IsMonitoring) { // the statistics start from the new marking
            StopMonitoring(vertex);
            StartMonitoring(vertex, net.ModelTime);
        }
        return;
    }
    case pfDelay:
    case pfDeviation:
    case pfPriority:
    case pfWeight:
    case pfLaw: {
        TTransition& transition =
            FindNamed(net.Transitions, parameter.Object, "переходу", "переходів");
        if (parameter.Field == pfDelay)
            transition.Delay = real;
        else if (parameter.Field == pfDeviation)
            transition.Deviation = real;
        else if (parameter.Field == pfWeight)
            transition.Weight = real;
        else if (parameter.Field == pfPriority)
            transition.Priority = integer;
        else
            transition.DelayType = *LawOfName(value);
        return;
    }
    case pfCount:
    case pfFormula: {
        TConnection& connection = FindConnection(net, parameter.Object);
        if (parameter.Field == pfCount) {
            connection.Count = integer;
            connection.UseFunction = false;
        } else {
            connection.Formula = Utf8ToWin1251(value);
            connection.UseFunction = true;
        }
        return;
    }
    }
}

std::string AssignmentValueJson(const TAssignment& assignment) {
    const TParameterField field = assignment.Parameter.Field;
    if (IsIntegerField(field)) {
        std::int32_t integer = 0;
        ParseSignedArgument(assignment.Value, integer);
        return std::to_string(integer);
    }
    if (IsRealField(field)) {
        double real = 0;
        ParseRealArgument(assignment.Value, real);
        return JsonReal(real);
    }
    return JsonString(assignment.Value);
}
