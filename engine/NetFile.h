// The .kvl net file: one value a line, Windows-1251, CR LF.
#pragma once

#include "Engine.h"

#include <filesystem>
#include <string>

// The bytes of the net file for the net. Throws TEngineError when a text holds a line break.
std::string NetText(const TEngineNet& net);

// Writes the engine's net to the file. The file is written beside the target under a temporary
// name and renamed over it at the end, so a failed save leaves the old file whole. FileName
// becomes the path only on success. Throws TEngineError with the reason on failure.
bool SaveNet(TEngine& engine, const std::filesystem::path& path);

// Reads the file into a fresh net and puts it in place of the engine's net only when the whole
// file has been read; FileName becomes the path then. A file that cannot be read, or that holds
// what the writer never produces, throws TEngineError naming the file and the line, and leaves
// the engine's net and FileName as they were.
bool LoadNet(TEngine& engine, const std::filesystem::path& path);
// The same from the bytes of a net file read before: the batch simulator reads the file once and
// loads it into an engine for every replication. `path` names the file in messages and becomes
// FileName.
bool LoadNetText(TEngine& engine, std::string bytes, const std::filesystem::path& path);
