#include "TextCodec.h"

#include <array>
#include <cstdint>

namespace {

// Unicode code points of the bytes 0x80..0xFF; 0x98 has no character and keeps its C1 code so
// that every byte survives a round trip.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

char32_t CodePointOf(unsigned char byte) {
    return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

// The byte for a code point, or -1 when the code page has none.
int ByteOf(char32_t codePoint) {
    if (codePoint < 0x80)
        return static_cast<int>(codePoint);
    for (int i = 0; i < 128; ++i)
        if (kHighHalf[i] == codePoint)
            return 0x80 + i;
    return -1;
}

char32_t UpperCodePoint(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c >= 0x0430 && c <= 0x044F) // а..я
        return c - 0x20;
    if (c >= 0x0450 && c <= 0x045F) // ѐ..џ, among them ё, є, і, ї, ў
        return c - 0x50;
    if (c == 0x0491) // ґ
        return 0x0490;
    return c;
}

std::array<unsigned char, 256> BuildUpperTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const int upper = ByteOf(UpperCodePoint(CodePointOf(static_cast<unsigned char>(b))));
        table[b] = static_cast<unsigned char>(upper >= 0 ? upper : b);
    }
    return table;
}

const std::array<unsigned char, 256>& UpperTable() {
    static const std::array<unsigned char, 256> table = BuildUpperTable();
    return table;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos], advancing pos; returns -1 for a malformed one.
long DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07;
    } else {
        return -1;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size())
            return -1;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return -1;
        c = (c << 6) | (next & 0x3F);
        ++pos;
    }
    return static_cast<long>(c);
}

} // namespace

std::string Win1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text)
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string Utf8ToWin1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const long c = DecodeUtf8(text, pos);
        const int byte = c < 0 ? -1 : ByteOf(static_cast<char32_t>(c));
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

char UpperCase1251(char c) {
    return static_cast<char>(UpperTable()[static_cast<unsigned char>(c)]);
}

std::string UpperCase1251(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = UpperCase1251(c);
    return out;
}

bool SameText1251(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperCase1251(a[i]) != UpperCase1251(b[i]))
            return false;
    return true;
}
