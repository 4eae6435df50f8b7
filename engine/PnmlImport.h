// Reading place/transition nets from PNML documents written by this program or by other tools:
// child elements in any order, nets with no type or the core-model type, nested pages and nets
// flattened, reference nodes resolved to the nodes they stand for, missing names, markings,
// inscriptions and positions supplied. A coloured or other high-level net is refused.
#pragma once

#include "Engine.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

struct TPnmlImport {
    TEngineNet Net;
    // What the document holds that a net of this program cannot (inhibitor and reset arcs,
    // capacities, colours...), as one message for the user (UTF-8); empty when nothing was lost.
    std::string Notes;
};

// Reads the document; `path` names it in messages. With options, objects take their sizes from
// the visual settings where the document does not give them. Throws TEngineError naming the
// file, the element and its line when the document cannot be read as a P/T net.
TPnmlImport ReadPnml(std::string_view bytes, const std::filesystem::path& path,
                     const TEngineGraphOptions* options);
TPnmlImport ReadPnmlFile(const std::filesystem::path& path, const TEngineGraphOptions* options);

// Files read as PNML rather than as the program's own net file: ".pnml" and ".xml".
bool IsPnmlPath(const std::filesystem::path& path);

// Puts the net of the PNML file in place of the engine's net, which stays as it was when the file
// cannot be read (TEngineError). The imported net has no file of its own: FileName is cleared.
// Returns the notes of the import, for the caller to show.
std::string ImportPnml(TEngine& engine, const std::filesystem::path& path);

// The bytes of the program's net file for a net file of either kind; a PNML file's notes go to
// `note` when it is set.
std::string NetFileBytes(const std::filesystem::path& path, const TEngineGraphOptions* options,
                         const std::function<void(const std::string&)>& note);
