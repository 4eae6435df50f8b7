#include "NetFileReader.h"

#include "EngineError.h"
#include "MessageText.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <cerrno>
#include <charconv>
#include <fstream>

namespace {

// Opens the net file for reading; throws TEngineError saying why it cannot be.
void OpenNetFile(std::ifstream& file, const std::filesystem::path& path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw TEngineError("Не вдалося відкрити файл «" + path.string() + "»: це папка, а не файл");
    file.open(path, std::ios::binary);
    if (!file) {
        const int error = errno;
        throw TEngineError("Не вдалося відкрити файл «" + path.string() +
                           "»: " + SystemErrorText(error));
    }
}

} // namespace

std::string ReadNetBytes(const std::filesystem::path& path) {
    std::ifstream file;
    OpenNetFile(file, path);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad())
        throw TEngineError("Не вдалося прочитати файл «" + path.string() + "»");
    return std::move(bytes).str();
}

TNetFileReader::TNetFileReader(const std::filesystem::path& path) : Path_(path), File(FileStream) {
    OpenNetFile(FileStream, path);
}

TNetFileReader::TNetFileReader(std::string bytes, const std::filesystem::path& path)
    : Path_(path), TextStream(std::move(bytes), std::ios::binary), File(TextStream) {}

void TNetFileReader::ThrowIfBroken() {
    if (File.bad())
        throw TEngineError("Не вдалося прочитати файл «" + Path_.string() + "»");
}

int TNetFileReader::Peek() {
    const int c = File.rdbuf()->sgetc();
    if (c == std::char_traits<char>::eof())
        ThrowIfBroken();
    return c;
}

// Lines end with CR LF as written; a bare LF is accepted as well.
std::string TNetFileReader::TakeLine() {
    std::string line;
    std::getline(File, line);
    ThrowIfBroken();
    File.clear(File.rdstate() & ~std::ios::failbit);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    ++LinesTaken;
    return line;
}

std::string TNetFileReader::ReadText() {
    if (AtEnd()) {
        LastLine_ = LinesTaken + 1;
        PassedEnd_ = true;
        return {};
    }
    std::string line = TakeLine();
    LastLine_ = LinesTaken;
    return line;
}

std::int32_t TNetFileReader::ReadInteger() {
    // No integer is written longer; a longer word is refused without being held whole.
    constexpr std::size_t kLongestWord = 4096;
    constexpr int kEnd = std::char_traits<char>::eof();
    std::streambuf* in = File.rdbuf();
    while (!AtEnd()) {
        int c = in->sbumpc();
        while (c == ' ' || c == '\t')
            c = in->sbumpc();
        std::string word;
        bool overlong = false;
        while (c != kEnd && c != '\n' && c != ' ' && c != '\t') {
            if (word.size() < kLongestWord)
                word += static_cast<char>(c);
            else
                overlong = true;
            c = in->sbumpc();
        }
        const bool lineEndsAfterWord = c == '\n' || c == kEnd;
        while (c != kEnd && c != '\n') // the rest of the line is skipped
            c = in->sbumpc();
        ThrowIfBroken();
        ++LinesTaken;
        // The CR of the CR LF that ends the line is not part of the word.
        if (lineEndsAfterWord && !overlong && !word.empty() && word.back() == '\r')
            word.pop_back();
        if (word.empty())
            continue; // a blank line
        LastLine_ = LinesTaken;
        if (overlong)
            Fail("очікувалося ціле число, а знайдено " + QuotedText(word));
        const char* begin = word.data() + (word[0] == '+' && word.size() > 1 && word[1] != '-');
        std::int32_t value = 0;
        const auto result = std::from_chars(begin, word.data() + word.size(), value);
        if (result.ec == std::errc::result_out_of_range)
            Fail("ціле число " + QuotedText(word) + " виходить за межі допустимого");
        if (result.ec != std::errc() || result.ptr != word.data() + word.size())
            Fail("очікувалося ціле число, а знайдено " + QuotedText(word));
        return value;
    }
    LastLine_ = LinesTaken + 1;
    PassedEnd_ = true;
    return 0;
}

bool TNetFileReader::ReadBoolean() {
    const bool atEnd = AtEnd();
    const std::string text = ReadText();
    if (atEnd)
        Fail("файл закінчився раніше, ніж очікувалося (потрібне логічне значення)");
    if (const auto number = TryTextToFloat(text))
        return *number != 0;
    if (SameText1251(text, "True"))
        return true;
    if (SameText1251(text, "False"))
        return false;
    Fail("очікувалося логічне значення (0, -1, True або False), а знайдено " + QuotedText(text));
}

double TNetFileReader::ReadReal() {
    const bool atEnd = AtEnd();
    const std::string text = ReadText();
    if (atEnd)
        Fail("файл закінчився раніше, ніж очікувалося (потрібне дійсне число)");
    if (const auto number = TryTextToFloat(text))
        return *number;
    Fail("очікувалося дійсне число, а знайдено " + QuotedText(text));
}

void TNetFileReader::Fail(const std::string& reason) const {
    throw TEngineError("Помилка у файлі «" + Path_.string() + "», рядок " +
                       std::to_string(LastLine_) + ": " + reason);
}
