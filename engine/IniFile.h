// An INI text file of sections and "key=value" lines, read and rewritten so that sections, keys
// and comments the program does not know survive. Names compare without regard to letter case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class TIniFile {
public:
    // A missing or unreadable file gives an empty one; never throws. For a file that exists but
    // cannot be read (a folder of that name, no permission, an I/O error) ReadError() says why.
    static TIniFile Load(const std::filesystem::path& path);
    // The Ukrainian reason the file could not be read; empty when it was read or is absent.
    const std::string& ReadError() const { return ReadError_; }

    // The value with blanks around it removed; nothing when the section or key is missing.
    std::optional<std::string> Read(const std::string& section, const std::string& key) const;
    // Replaces the key's value, or adds the key at the end of its section (the section at the end
    // of the file).
    void Write(const std::string& section, const std::string& key, const std::string& value);
    // Removes the key's lines from its section; nothing happens when it is missing.
    void Remove(const std::string& section, const std::string& key);

    std::string Text() const; // lines ended by CR LF

private:
    struct TSection {
        std::string Name;
        std::vector<std::string> Lines; // the lines after the header
    };
    TSection* Find(const std::string& section);
    const TSection* Find(const std::string& section) const;

    std::vector<std::string> Preamble; // lines before the first section
    std::vector<TSection> Sections;
    std::string ReadError_;
};

// The integer of a settings value: decimal, or hexadecimal after "$" or "0x"; nothing when the
// text is not one.
std::optional<std::int32_t> ParseIniInteger(const std::string& text);
