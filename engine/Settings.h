// The user's settings: the KVLConfig.ini file, the reset to the built-in defaults, and pushing
// the colour settings to the objects of the net.
#pragma once

#include "Engine.h"

#include <filesystem>

// Reads all 40 keys into the live settings; a missing file, key or bad value gives the key's
// default, silently. The refresh period reaches the drawing thread. A file that exists but cannot
// be read gives every default and is reported through engine.ShowMessage; the result is false
// then.
bool LoadSettings(TEngine& engine, const std::filesystem::path& path);
// Writes all 40 keys in their sections and order, keeping whatever else the file holds. Throws
// TEngineError when the file cannot be written, or when it exists but cannot be read (so that
// what else it holds is not lost).
void SaveSettings(TEngine& engine, const std::filesystem::path& path);
// Every setting back to its default except BaseVertexMark and BaseTransitionDelay.
void ResetSettings(TEngine& engine);
// Chosen objects get the choice colours, the others the ambient ones, without a fade.
void ApplyColors(TEngine& engine);

// The command that loads the base settings: ResetSettings, the chart colours, then ApplyColors. The
// refresh period reaches the program through ScreenIntervalChanged; the window adds its check
// marks.
void LoadBaseSettings(TEngine& engine);

// Where the settings live: KVLConfig.ini in the program's folder, or in the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config) under "kvl-editor" when that folder cannot be written
// or is the folder of an installed program (beside "../share/kvl-editor"), which even a user
// allowed to write there must not fill with files of their own.
std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder);
