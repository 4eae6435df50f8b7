// Number texts: what reads as a real writes back to a text that reads as the same real, and
// integers and patterns never crash.
#include "EngineError.h"
#include "FuzzSupport.h"
#include "NumberText.h"

#include <cmath>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto value = TryTextToFloat(text)) {
        const std::string written = FloatToText("", *value);
        const auto back = TryTextToFloat(written);
        FUZZ_REQUIRE(back.has_value());
        FUZZ_REQUIRE(FloatToText("", *back) == written);
    }
    try {
        TextToInteger(text);
    } catch (const TEngineError&) {
    }
    if (size >= 8) {
        double value = 0;
        __builtin_memcpy(&value, data, sizeof value);
        const std::string pattern(text.substr(8, 24));
        FloatToText(pattern, value);
    }
    return 0;
}
