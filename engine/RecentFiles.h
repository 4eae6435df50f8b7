// The list of recently opened net files, newest first, kept in a section of the settings file of
// its own so that the settings' keys stay as they are.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

using TRecentFiles = std::vector<std::filesystem::path>;

// How many files the list keeps.
constexpr std::size_t MostRecentFiles = 8;

// Puts the file first; an earlier entry for the same file goes, and the list keeps the newest
// MostRecentFiles. A name the settings file could not give back whole (a line break in it,
// blanks at either end) is not remembered.
void RememberRecentFile(TRecentFiles& files, const std::filesystem::path& file);
// Takes the file out of the list; nothing happens when it is not there.
void ForgetRecentFile(TRecentFiles& files, const std::filesystem::path& file);

// The list from the settings file; a missing or unreadable file, or no section, gives none.
TRecentFiles LoadRecentFiles(const std::filesystem::path& settingsFile);
// Writes the list into the settings file's section, keeping everything else the file holds.
// Throws TEngineError when the file cannot be written, or exists and cannot be read.
void SaveRecentFiles(const std::filesystem::path& settingsFile, const TRecentFiles& files);
