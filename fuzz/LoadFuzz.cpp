// The net file reader on any bytes: it loads or refuses with TEngineError, and whatever it
// loads saves and loads back to the same text.
#include "EngineError.h"
#include "FuzzSupport.h"
#include "NetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = InputFile(data, size, ".kvl");
    TEngine engine;
    InitEngine(engine);
    try {
        LoadNet(engine, path);
    } catch (const TEngineError&) {
        return 0;
    }
    const std::string text = NetText(engine.Net);
    const auto again =
        InputFile(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), "-again.kvl");
    TEngine reloaded;
    InitEngine(reloaded);
    LoadNet(reloaded, again); // must not throw: what loads, saves and loads back
    FUZZ_REQUIRE(NetText(reloaded.Net) == text);
    return 0;
}
