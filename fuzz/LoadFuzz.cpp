// The net file reader on any bytes: it loads or refuses with TEngineError, and whatever it
// loads saves and loads back to the same text.
#include "EngineError.h"
#include "FuzzSupport.h"
#include "NetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TEngine engine;
    if (!LoadInput(engine, data, size))
        return 0;
    RequireSavesAndLoadsBack(engine.Net);
    return 0;
}
