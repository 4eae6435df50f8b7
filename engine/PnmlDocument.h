// A PNML file parsed into an XML tree, with what the importer needs around it: the line of an
// element for messages, element names without a namespace prefix, and label texts.
#pragma once

#include <pugixml.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class TPnmlDocument {
public:
    // Parses the bytes; throws TEngineError naming the file and the line of the first fault.
    // Documents declared in ISO-8859-1 or Windows-1251 are turned into UTF-8 first.
    TPnmlDocument(std::string_view bytes, const std::filesystem::path& path);

    pugi::xml_node Root() const { return Document.document_element(); }
    const std::filesystem::path& Path() const { return Path_; }
    // The number (from 1) of the line the element starts on.
    int LineOf(pugi::xml_node element) const;
    // Throws TEngineError naming the file, the element (with its id) and its line.
    [[noreturn]] void Fail(pugi::xml_node element, const std::string& reason) const;

private:
    int LineAt(std::ptrdiff_t offset) const;

    std::filesystem::path Path_;
    std::string Buffer; // the UTF-8 text parsed, for counting lines
    pugi::xml_document Document;
};

// The element's name without a namespace prefix.
std::string_view LocalName(pugi::xml_node element);
bool HasLocalName(pugi::xml_node element, std::string_view name);
// The first child element of that local name, or an empty node.
pugi::xml_node ChildNamed(pugi::xml_node element, std::string_view name);

// The text of a label child (<name>, <initialMarking>, <inscription>...): its <text>, or the
// <value> some tools write instead. None when the label or its text is missing.
std::optional<std::string> LabelText(pugi::xml_node element, std::string_view label);

// The text without blanks and line breaks at its ends.
std::string_view TrimmedText(std::string_view text);
// Lower case of the ASCII letters, for comparing type names and keywords.
std::string AsciiLower(std::string_view text);
