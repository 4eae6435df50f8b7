#include "IniFile.h"

#include "MessageText.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>

namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The key of a "key=value" line, or nothing for other lines.
std::optional<std::string> KeyOf(const std::string& line) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
        return std::nullopt;
    const auto equals = trimmed.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    return Trim(trimmed.substr(0, equals));
}

} // namespace

TIniFile TIniFile::Load(const std::filesystem::path& path) {
    TIniFile ini;
    std::error_code status;
    const auto type = std::filesystem::status(path, status).type();
    if (type == std::filesystem::file_type::not_found)
        return ini;
    if (type == std::filesystem::file_type::directory) {
        ini.ReadError_ = SystemErrorText(EISDIR);
        return ini;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ini.ReadError_ = SystemErrorText(errno != 0 ? errno : EIO);
        return ini;
    }
    // A read error throws out of the stream buffer past the iterator, whatever the stream's
    // exception mask says; it must not leave this function.
    std::string content;
    try {
        errno = 0;
        content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        ini.ReadError_ = SystemErrorText(errno != 0 ? errno : EIO);
        return ini;
    }
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        start = end + 1;
        const std::string trimmed = Trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']')
            ini.Sections.push_back({Trim(trimmed.substr(1, trimmed.size() - 2)), {}});
        else if (ini.Sections.empty())
            ini.Preamble.push_back(line);
        else
            ini.Sections.back().Lines.push_back(line);
    }
    return ini;
}

const TIniFile::TSection* TIniFile::Find(const std::string& section) const {
    for (const TSection& s : Sections)
        if (SameName(s.Name, section))
            return &s;
    return nullptr;
}

TIniFile::TSection* TIniFile::Find(const std::string& section) {
    return const_cast<TSection*>(static_cast<const TIniFile*>(this)->Find(section));
}

std::optional<std::string> TIniFile::Read(const std::string& section,
                                          const std::string& key) const {
    const TSection* s = Find(section);
    if (s == nullptr)
        return std::nullopt;
    for (const std::string& line : s->Lines)
        if (const auto name = KeyOf(line); name && SameName(*name, key))
            return Trim(line.substr(line.find('=') + 1));
    return std::nullopt;
}

void TIniFile::Write(const std::string& section, const std::string& key, const std::string& value) {
    TSection* s = Find(section);
    if (s == nullptr) {
        Sections.push_back({section, {}});
        s = &Sections.back();
    }
    std::size_t lastKey = 0;
    for (std::size_t i = 0; i < s->Lines.size(); ++i) {
        const auto name = KeyOf(s->Lines[i]);
        if (!name)
            continue;
        if (SameName(*name, key)) {
            s->Lines[i] = key + "=" + value;
            return;
        }
        lastKey = i + 1;
    }
    s->Lines.insert(s->Lines.begin() + static_cast<std::ptrdiff_t>(lastKey), key + "=" + value);
}

void TIniFile::Remove(const std::string& section, const std::string& key) {
    TSection* s = Find(section);
    if (s == nullptr)
        return;
    std::erase_if(s->Lines, [&](const std::string& line) {
        const auto name = KeyOf(line);
        return name && SameName(*name, key);
    });
}

std::string TIniFile::Text() const {
    std::string text;
    for (const std::string& line : Preamble)
        text += line + "\r\n";
    for (const TSection& s : Sections) {
        text += "[" + s.Name + "]\r\n";
        for (const std::string& line : s.Lines)
            text += line + "\r\n";
    }
    return text;
}

std::optional<std::int32_t> ParseIniInteger(const std::string& raw) {
    std::string text = Trim(raw);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.erase(0, 1);
    }
    int base = 10;
    if (text.size() > 1 && text[0] == '$') {
        base = 16;
        text.erase(0, 1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.erase(0, 2);
    }
    if (text.empty() || text[0] == '-' || text[0] == '+')
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    // Hexadecimal covers the whole 32 bits ("$FFFFFFFF" is -1); decimal the int32 range.
    if (base == 16 ? magnitude > 0xFFFFFFFFull
                   : magnitude > (negative ? 2147483648ull : 2147483647ull))
        return std::nullopt;
    const std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}
