// Writing a net as a PNML document of the place/transition type, which other Petri-net tools read.
// What that type has no label for goes into the program's block of each object, so that reading
// the document back gives the same net.
#pragma once

#include "NetRecords.h"

#include <string>
#include <string_view>

// The UTF-8 bytes of the document; `netName` (UTF-8) names the net, usually after its file.
std::string PnmlText(const TEngineNet& net, std::string_view netName);
