// Copy and paste of any part of any net that loads: the pasted net saves and loads back.
#include "EngineError.h"
#include "FuzzSupport.h"
#include "NetBuffer.h"
#include "NetFile.h"
#include "PickedChoiced.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    TEngine engine;
    if (!LoadInput(engine, data + 4, size - 4))
        return 0;
    // The first byte picks which objects are chosen: every n-th of each kind.
    const std::size_t every = 1 + data[0] % 4;
    auto choose = [&](auto& objects) {
        for (std::size_t i = 0; i < objects.size(); i += every)
            AddEntry(engine.Choiced, objects[i].get(), engine.Graph, TListRole::Chosen,
                     TFade::Instant);
    };
    choose(engine.Net.Vertices);
    choose(engine.Net.Transitions);
    choose(engine.Net.Connections);
    CopyFragment(engine, static_cast<std::int8_t>(data[1]), static_cast<std::int8_t>(data[2]));
    for (int paste = 0; paste < 1 + data[3] % 3; ++paste)
        PasteFragment(engine, paste * 100, -paste * 50);
    RequireSavesAndLoadsBack(engine.Net);
    return 0;
}
