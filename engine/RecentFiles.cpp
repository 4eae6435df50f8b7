#include "RecentFiles.h"

#include "EngineError.h"
#include "FileReplace.h"
#include "IniFile.h"

#include <algorithm>
#include <string>

namespace {

const char* const kSection = "RecentFiles";

std::string KeyOfEntry(std::size_t number) {
    return "File" + std::to_string(number);
}

// The same file, however the name was written ("a/./b.kvl" and "a/b.kvl").
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    return a.lexically_normal() == b.lexically_normal();
}

// A name that reads back from the settings file exactly as it was written.
bool Storable(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !text.empty() && text.find_first_of("\r\n") == std::string::npos &&
           !blank(text.front()) && !blank(text.back());
}

} // namespace

void RememberRecentFile(TRecentFiles& files, const std::filesystem::path& file) {
    if (!Storable(file.string()))
        return;
    ForgetRecentFile(files, file);
    files.insert(files.begin(), file.lexically_normal());
    if (files.size() > MostRecentFiles)
        files.resize(MostRecentFiles);
}

void ForgetRecentFile(TRecentFiles& files, const std::filesystem::path& file) {
    std::erase_if(files, [&](const std::filesystem::path& p) { return SameFile(p, file); });
}

TRecentFiles LoadRecentFiles(const std::filesystem::path& settingsFile) {
    const TIniFile ini = TIniFile::Load(settingsFile);
    TRecentFiles files;
    // Read oldest first, so that remembering each puts the newest in front and drops copies.
    for (std::size_t number = MostRecentFiles; number >= 1; --number)
        if (const auto text = ini.Read(kSection, KeyOfEntry(number)); text && !text->empty())
            RememberRecentFile(files, *text);
    return files;
}

void SaveRecentFiles(const std::filesystem::path& settingsFile, const TRecentFiles& files) {
    TIniFile ini = TIniFile::Load(settingsFile);
    if (!ini.ReadError().empty())
        throw TEngineError("Не вдалося зберегти список недавніх файлів у файл «" +
                           settingsFile.string() + "»: його не вдалося прочитати (" +
                           ini.ReadError() + ")");
    for (std::size_t number = 1; number <= MostRecentFiles; ++number) {
        if (number <= files.size())
            ini.Write(kSection, KeyOfEntry(number), files[number - 1].string());
        else
            ini.Remove(kSection, KeyOfEntry(number));
    }
    std::error_code ignored;
    std::filesystem::create_directories(settingsFile.parent_path(), ignored);
    ReplaceFile(settingsFile, ini.Text());
}
