// Line-oriented reading of a net file with the tolerant rules of its format: an integer is the
// first word after blanks and empty lines, and past the end of the file an integer reads as 0
// and a text line as empty.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TNetFileReader {
public:
    // Reads the whole file; throws TEngineError when it cannot be opened or read.
    explicit TNetFileReader(const std::filesystem::path& path);

    std::string ReadText();
    std::int32_t ReadInteger();
    bool ReadBoolean();
    double ReadReal();

    // The number (from 1) of the line the last value came from.
    int LastLine() const { return LastLine_; }
    // Whether a value was asked for past the end of the file (and read as 0 or empty).
    bool PassedEnd() const { return PassedEnd_; }
    const std::filesystem::path& Path() const { return Path_; }
    // Throws TEngineError naming the file and the line of the last value read.
    [[noreturn]] void Fail(const std::string& reason) const;

private:
    std::filesystem::path Path_;
    std::vector<std::string> Lines_;
    std::size_t Next_ = 0; // index of the next unread line
    int LastLine_ = 0;
    bool PassedEnd_ = false;
};
