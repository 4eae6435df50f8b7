// Writing a whole file so that a failure never leaves a half-written file in place of the old one.
#pragma once

#include <filesystem>
#include <string>

// Writes the text under a temporary name in the target's folder, then renames it over the
// target. Symbolic links are written through to the file they finally name (created when it does
// not exist yet); the old file's permissions, and its owner and group where the user may set
// them, are kept. A file the user may not write is refused. Throws TEngineError with the reason
// in Ukrainian on failure, leaving the old file as it was.
void ReplaceFile(const std::filesystem::path& path, const std::string& text);

// The file a path finally names: each symbolic link is followed, a relative one from its own
// folder, also when the last link points at a file that does not exist. Throws TEngineError
// naming `path` when the links go round in a circle.
std::filesystem::path FinalTarget(const std::filesystem::path& path);

// Whether the result of access(W_OK) on an existing file means the user may not write it.
// Running as root, access() grants everything, so only a plain refusal (EACCES) counts; a
// read-only file system or another failure is left to the save itself to report.
bool IsWriteProtected(int accessResult, int accessError);
