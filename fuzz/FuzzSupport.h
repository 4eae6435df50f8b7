// What the fuzz targets share: the input written to a file of its own (the loaders read files),
// and an engine ready for work.
#pragma once

#include "Engine.h"
#include "EngineError.h"
#include "NetFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A file under the temporary folder named for this process, holding the input.
inline std::filesystem::path InputFile(const std::uint8_t* data, std::size_t size,
                                       const char* suffix) {
    const auto path =
        std::filesystem::temp_directory_path() / ("kvl-fuzz-" + std::to_string(getpid()) + suffix);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

// Aborts, so that the fuzzer keeps the input, when a property that must hold does not.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition))                                                                          \
            __builtin_trap();                                                                      \
    } while (false)

// Loads the bytes as a net file into a fresh engine; false when the loader refuses them.
inline bool LoadInput(TEngine& engine, const std::uint8_t* data, std::size_t size) {
    InitEngine(engine);
    engine.ShowMessage = [](const std::string&) {};
    try {
        LoadNet(engine, InputFile(data, size, ".kvl"));
    } catch (const TEngineError&) {
        return false;
    }
    return true;
}

// What the program holds saves and loads back to the same text.
inline void RequireSavesAndLoadsBack(const TEngineNet& net) {
    const std::string text = NetText(net);
    TEngine reloaded;
    InitEngine(reloaded);
    LoadNet(reloaded, InputFile(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                                "-again.kvl"));
    FUZZ_REQUIRE(NetText(reloaded.Net) == text);
}
