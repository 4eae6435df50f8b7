// Connection formulas on any text, over a small net whose markings come from the input too:
// an evaluation gives a count or nothing, never a crash.
#include "Formula.h"
#include "FuzzSupport.h"
#include "NetObjects.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    TEngineNet net;
    CreateVertex(net, "P1", static_cast<std::int8_t>(data[0]), 0, 0, nullptr);
    CreateVertex(net, "Черга", static_cast<std::int8_t>(data[1]) * 1000, 0, 0, nullptr);
    CreateVertex(net, "P3", data[2] == 0 ? INT32_MAX : INT32_MIN, 0, 0, nullptr);
    const std::string formula(reinterpret_cast<const char*>(data) + 3, size - 3);
    EvaluateFormulaText(formula, net);
    return 0;
}
