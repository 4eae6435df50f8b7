// The settings file on any bytes: it gives values or defaults, and the settings save again.
#include "EngineError.h"
#include "FuzzSupport.h"
#include "Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = InputFile(data, size, ".ini");
    TEngine engine;
    InitEngine(engine);
    try {
        LoadSettings(engine, path);
        SaveSettings(engine, path);
    } catch (const TEngineError&) {
        // a file that cannot be read or written is told, not a crash
    }
    return 0;
}
