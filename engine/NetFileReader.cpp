#include "NetFileReader.h"

#include "EngineError.h"
#include "MessageText.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

TNetFileReader::TNetFileReader(const std::filesystem::path& path) : Path_(path) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        throw TEngineError("Не вдалося відкрити файл «" + path.string() + "»: це папка, а не файл");
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int error = errno;
        throw TEngineError("Не вдалося відкрити файл «" + path.string() +
                           "»: " + SystemErrorText(error));
    }
    std::string content;
    try {
        content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        file.setstate(std::ios::badbit);
    }
    if (file.bad())
        throw TEngineError("Не вдалося прочитати файл «" + path.string() + "»");

    // Lines end with CR LF as written; a bare LF is accepted as well.
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = content.size();
        std::size_t stop = end;
        if (stop > start && content[stop - 1] == '\r')
            --stop;
        Lines_.emplace_back(content, start, stop - start);
        start = last ? end : end + 1;
    }
}

std::string TNetFileReader::ReadText() {
    if (Next_ >= Lines_.size()) {
        LastLine_ = static_cast<int>(Lines_.size()) + 1;
        PassedEnd_ = true;
        return {};
    }
    LastLine_ = static_cast<int>(Next_) + 1;
    return Lines_[Next_++];
}

std::int32_t TNetFileReader::ReadInteger() {
    while (Next_ < Lines_.size()) {
        const std::string& line = Lines_[Next_];
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        if (first == line.size()) {
            ++Next_;
            continue;
        }
        std::size_t last = first;
        while (last < line.size() && !IsBlank(line[last]))
            ++last;
        LastLine_ = static_cast<int>(Next_) + 1;
        ++Next_; // the rest of the line is skipped
        const std::string word = line.substr(first, last - first);
        const char* begin = word.data() + (word[0] == '+' && word.size() > 1 && word[1] != '-');
        std::int32_t value = 0;
        const auto result = std::from_chars(begin, word.data() + word.size(), value);
        if (result.ec == std::errc::result_out_of_range)
            Fail("ціле число " + QuotedText(word) + " виходить за межі допустимого");
        if (result.ec != std::errc() || result.ptr != word.data() + word.size())
            Fail("очікувалося ціле число, а знайдено " + QuotedText(word));
        return value;
    }
    LastLine_ = static_cast<int>(Lines_.size()) + 1;
    PassedEnd_ = true;
    return 0;
}

bool TNetFileReader::ReadBoolean() {
    const bool atEnd = Next_ >= Lines_.size();
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
    const bool atEnd = Next_ >= Lines_.size();
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
