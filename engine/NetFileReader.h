// Line-oriented reading of a net file with the tolerant rules of its format: an integer is the
// first word after blanks and empty lines, and past the end of the file an integer reads as 0
// and a text line as empty. The file is read as it goes, a line at a time, and lines skipped
// over are never held, so memory follows the net rather than the size of the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The whole file as bytes, for reading more than once; throws TEngineError as the reader does
// when it cannot be opened or read.
std::string ReadNetBytes(const std::filesystem::path& path);

class TNetFileReader {
public:
    // Opens the file; throws TEngineError when it cannot be opened. A failure to read later
    // throws TEngineError too.
    explicit TNetFileReader(const std::filesystem::path& path);
    // Reads the bytes of a net file already in memory; `path` names it in messages.
    TNetFileReader(std::string bytes, const std::filesystem::path& path);

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
    // The next character without taking it, or EOF at the end of the file.
    int Peek();
    bool AtEnd() { return Peek() == std::char_traits<char>::eof(); }
    // Takes the rest of the current line, without its CR LF or LF, counting it.
    std::string TakeLine();
    void ThrowIfBroken();

    std::filesystem::path Path_;
    std::ifstream FileStream;
    std::istringstream TextStream;
    std::istream& File; // the one of the two streams this reader reads
    int LinesTaken = 0; // lines read or skipped so far
    int LastLine_ = 0;
    bool PassedEnd_ = false;
};
