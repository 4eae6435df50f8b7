// kvl-convert: a net from the program's own file to PNML and back, chosen by the names'
// extensions (.kvl; .pnml or .xml).
#pragma once

#include <filesystem>
#include <ostream>

extern const char* const kConvertUsage;

enum TConvertStatus : int {
    csDone = 0,
    csFailed = 2, // a file that cannot be read or written, or an unknown extension
};

// Converts `in` to `out`. Messages (what an import left out, or why nothing was written) go to
// `messages`. On failure nothing is written: the output is written under a temporary name and
// renamed into place only when it is whole.
TConvertStatus ConvertNetFile(const std::filesystem::path& in, const std::filesystem::path& out,
                              std::ostream& messages);
