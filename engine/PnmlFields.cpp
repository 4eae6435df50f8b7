#include "PnmlFields.h"

#include "PnmlDocument.h"
#include "StoredFields.h"
#include "TextCodec.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace {

const char* const kDelayTypeNames[] = {"dtDefault", "dtUniform", "dtNormal", "dtExponential"};

bool Named(const char* name, const char* field) {
    return std::strcmp(name, field) == 0;
}

// Real numbers in the shortest text that reads back as the same double, whatever the locale.
std::string RealText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

template <typename Object> void AppendBlock(pugi::xml_node element, const Object& object) {
    pugi::xml_node block;
    for (const TStoredField<Object>& field : StoredFields<Object>()) {
        if (IsEndField(field.Kind) || !IsWritten(field, object) || IsCarriedByLabels(field, object))
            continue;
        if (!block) {
            block = element.append_child("toolspecific");
            block.append_attribute("tool") = kPnmlTool;
            block.append_attribute("version") = kPnmlToolVersion;
        }
        pugi::xml_node value = block.append_child(field.Name);
        std::string text;
        switch (field.Kind) {
        case sfText:
            text = Win1251ToUtf8(StoredValue<std::string>(field, object));
            break;
        case sfInteger:
            text = std::to_string(StoredValue<std::int32_t>(field, object));
            break;
        case sfBoolean:
            text = StoredValue<bool>(field, object) ? "true" : "false";
            break;
        case sfReal:
            text = RealText(StoredValue<double>(field, object));
            break;
        case sfDelayType:
            text = kDelayTypeNames[StoredValue<TDelayType>(field, object)];
            break;
        case sfConnectionType:
            text = StoredValue<TConnectionType>(field, object) == ctVT ? "ctVT" : "ctTV";
            break;
        case sfVertexEnd:
        case sfTransitionEnd:
            break;
        }
        value.text().set(text.c_str());
    }
}

template <typename Object>
void ReadBlock(pugi::xml_node block, Object& object, const TPnmlFailure& fail) {
    for (pugi::xml_node value : block.children()) {
        if (value.type() != pugi::node_element)
            continue;
        for (const TStoredField<Object>& field : StoredFields<Object>()) {
            if (IsEndField(field.Kind) || !Named(value.name(), field.Name))
                continue;
            const std::string_view raw = value.text().get();
            const std::string_view text = TrimmedText(raw);
            const auto bad = [&] {
                fail(value,
                     "значення «" + std::string(raw) + "» не підходить для поля " + field.Name);
            };
            switch (field.Kind) {
            case sfText:
                // Texts are taken exactly: blanks at the ends are part of a name.
                if (raw.find_first_of("\r\n") != std::string_view::npos)
                    fail(value,
                         std::string("поле ") + field.Name + " не може містити розриву рядка");
                StoredValue<std::string>(field, object) = Utf8ToWin1251(raw);
                break;
            case sfInteger: {
                std::int32_t number = 0;
                const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
                if (text.empty() || result.ec != std::errc() ||
                    result.ptr != text.data() + text.size())
                    bad();
                StoredValue<std::int32_t>(field, object) = number;
                break;
            }
            case sfBoolean:
                if (text == "true" || text == "1")
                    StoredValue<bool>(field, object) = true;
                else if (text == "false" || text == "0")
                    StoredValue<bool>(field, object) = false;
                else
                    bad();
                break;
            case sfReal: {
                double number = 0;
                const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
                if (text.empty() || result.ec != std::errc() ||
                    result.ptr != text.data() + text.size())
                    bad();
                StoredValue<double>(field, object) = number;
                break;
            }
            case sfDelayType: {
                bool found = false;
                for (int type = dtDefault; type <= dtExponential; ++type)
                    if (text == kDelayTypeNames[type]) {
                        StoredValue<TDelayType>(field, object) = static_cast<TDelayType>(type);
                        found = true;
                    }
                if (!found)
                    bad();
                break;
            }
            case sfConnectionType:
                // The direction comes from the arc's ends.
                break;
            case sfVertexEnd:
            case sfTransitionEnd:
                break;
            }
        }
    }
}

} // namespace

bool IsCarriedByLabels(const TStoredField<TVertex>& field, const TVertex& vertex) {
    if (Named(field.Name, "Marking"))
        return vertex.Marking >= 0;
    return Named(field.Name, "Name") || Named(field.Name, "X") || Named(field.Name, "Y");
}

bool IsCarriedByLabels(const TStoredField<TTransition>& field, const TTransition&) {
    return Named(field.Name, "Name") || Named(field.Name, "X") || Named(field.Name, "Y");
}

bool IsCarriedByLabels(const TStoredField<TConnection>& field, const TConnection& connection) {
    if (Named(field.Name, "Count"))
        return connection.Count >= 1;
    return field.Kind == sfConnectionType || IsEndField(field.Kind);
}

void AppendToolBlock(pugi::xml_node element, const TVertex& vertex) {
    AppendBlock(element, vertex);
}
void AppendToolBlock(pugi::xml_node element, const TTransition& transition) {
    AppendBlock(element, transition);
}
void AppendToolBlock(pugi::xml_node element, const TConnection& connection) {
    AppendBlock(element, connection);
}

void ReadToolBlock(pugi::xml_node block, TVertex& vertex, const TPnmlFailure& fail) {
    ReadBlock(block, vertex, fail);
}
void ReadToolBlock(pugi::xml_node block, TTransition& transition, const TPnmlFailure& fail) {
    ReadBlock(block, transition, fail);
}
void ReadToolBlock(pugi::xml_node block, TConnection& connection, const TPnmlFailure& fail) {
    ReadBlock(block, connection, fail);
}

pugi::xml_node FindToolBlock(pugi::xml_node element) {
    for (pugi::xml_node child : element.children()) {
        const char* name = child.name();
        const char* colon = std::strrchr(name, ':');
        if (Named(colon != nullptr ? colon + 1 : name, "toolspecific") &&
            Named(child.attribute("tool").value(), kPnmlTool))
            return child;
    }
    return {};
}
