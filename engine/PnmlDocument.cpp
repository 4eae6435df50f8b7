#include "PnmlDocument.h"

#include "EngineError.h"
#include "TextCodec.h"

#include <algorithm>

namespace {

// The encoding named in the XML declaration, in lower case; empty when none is named.
std::string DeclaredEncoding(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (!bytes.starts_with("<?xml"))
        return {};
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at = declaration.find_first_of("\"'", at);
    if (at == std::string_view::npos)
        return {};
    const std::size_t end = declaration.find(declaration[at], at + 1);
    if (end == std::string_view::npos)
        return {};
    return AsciiLower(declaration.substr(at + 1, end - at - 1));
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

const char* ParseFault(pugi::xml_parse_status status) {
    switch (status) {
    case pugi::status_unrecognized_tag:
        return "незрозумілий тег";
    case pugi::status_bad_pi:
        return "неправильна інструкція обробки або оголошення XML";
    case pugi::status_bad_comment:
        return "неправильний коментар";
    case pugi::status_bad_cdata:
        return "неправильний розділ CDATA";
    case pugi::status_bad_doctype:
        return "неправильне оголошення типу документа";
    case pugi::status_bad_pcdata:
        return "неправильний текст між тегами";
    case pugi::status_bad_start_element:
        return "неправильний початковий тег";
    case pugi::status_bad_attribute:
        return "неправильний атрибут";
    case pugi::status_bad_end_element:
        return "неправильний кінцевий тег";
    case pugi::status_end_element_mismatch:
        return "кінцевий тег не відповідає відкритому елементу (або його немає)";
    case pugi::status_no_document_element:
        return "у файлі немає жодного елемента XML";
    case pugi::status_out_of_memory:
        return "забракло пам'яті";
    default:
        return "файл не є правильним документом XML";
    }
}

} // namespace

TPnmlDocument::TPnmlDocument(std::string_view bytes, const std::filesystem::path& path)
    : Path_(path) {
    const std::string encoding = DeclaredEncoding(bytes);
    pugi::xml_encoding parseAs = pugi::encoding_utf8;
    if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "iso_8859-1" ||
        encoding == "windows-1252") {
        Buffer = Latin1ToUtf8(bytes);
    } else if (encoding == "windows-1251" || encoding == "cp1251") {
        Buffer = Win1251ToUtf8(bytes);
    } else {
        Buffer = bytes;
        // UTF-16 and the rest are left to the library; line numbers then count its conversion.
        if (!encoding.empty() && encoding != "utf-8" && encoding != "utf8" && encoding != "ascii" &&
            encoding != "us-ascii")
            parseAs = pugi::encoding_auto;
        if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
            parseAs = pugi::encoding_auto;
    }
    // A text of blanks alone is kept when it is all an element holds: it may be a name.
    const pugi::xml_parse_result result = Document.load_buffer(
        Buffer.data(), Buffer.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, parseAs);
    if (!result)
        throw TEngineError("Помилка у файлі «" + Path_.string() + "», рядок " +
                           std::to_string(LineAt(result.offset)) + ": " +
                           ParseFault(result.status));
}

int TPnmlDocument::LineAt(std::ptrdiff_t offset) const {
    const auto end = std::min<std::ptrdiff_t>(std::max<std::ptrdiff_t>(offset, 0),
                                              static_cast<std::ptrdiff_t>(Buffer.size()));
    return 1 + static_cast<int>(std::count(Buffer.begin(), Buffer.begin() + end, '\n'));
}

int TPnmlDocument::LineOf(pugi::xml_node element) const {
    return LineAt(element.offset_debug());
}

void TPnmlDocument::Fail(pugi::xml_node element, const std::string& reason) const {
    std::string tag = "<" + std::string(element.name());
    if (const pugi::xml_attribute id = element.attribute("id"))
        tag += " id=\"" + std::string(id.value()) + "\"";
    tag += ">";
    throw TEngineError("Помилка у файлі «" + Path_.string() + "», рядок " +
                       std::to_string(LineOf(element)) + ", елемент " + tag + ": " + reason);
}

std::string_view LocalName(pugi::xml_node element) {
    const std::string_view name = element.name();
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool HasLocalName(pugi::xml_node element, std::string_view name) {
    return element.type() == pugi::node_element && LocalName(element) == name;
}

pugi::xml_node ChildNamed(pugi::xml_node element, std::string_view name) {
    for (pugi::xml_node child : element.children())
        if (HasLocalName(child, name))
            return child;
    return {};
}

std::optional<std::string> LabelText(pugi::xml_node element, std::string_view label) {
    const pugi::xml_node labelElement = ChildNamed(element, label);
    if (!labelElement)
        return std::nullopt;
    pugi::xml_node text = ChildNamed(labelElement, "text");
    if (!text)
        text = ChildNamed(labelElement, "value");
    if (!text)
        return std::nullopt;
    return std::string(text.text().get());
}

std::string_view TrimmedText(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}
