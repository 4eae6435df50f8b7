// Writing a whole file so that a failure never leaves a half-written file in place of the old one.
#pragma once

#include <filesystem>
#include <string>

// Writes the text under a temporary name in the target's folder, then renames it over the
// target; the old file's permissions are kept and a link is written through. Throws
// TEngineError with the reason on failure, leaving the old file as it was.
void ReplaceFile(const std::filesystem::path& path, const std::string& text);
