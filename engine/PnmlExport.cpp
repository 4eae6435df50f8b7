#include "PnmlExport.h"

#include "PnmlFields.h"
#include "TextCodec.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <sstream>

namespace {

const char* const kNamespace = "http://www.pnml.org/version-2009/grammar/pnml";
const char* const kPtNetType = "http://www.pnml.org/version-2009/grammar/ptnet";

// A model coordinate in PNML units: an exact decimal, so that reading it back and scaling it
// gives the same integer.
std::string CoordinateText(std::int32_t value) {
    const long long magnitude = std::llabs(static_cast<long long>(value));
    std::string text = value < 0 ? "-" : "";
    text += std::to_string(magnitude / kPnmlUnitScale);
    if (const long long rest = magnitude % kPnmlUnitScale; rest != 0)
        text += "." + std::to_string(rest);
    return text;
}

void AppendLabel(pugi::xml_node element, const char* label, const std::string& text) {
    element.append_child(label).append_child("text").text().set(text.c_str());
}

void AppendPosition(pugi::xml_node element, std::int32_t x, std::int32_t y) {
    pugi::xml_node position = element.append_child("graphics").append_child("position");
    position.append_attribute("x") = CoordinateText(x).c_str();
    position.append_attribute("y") = CoordinateText(y).c_str();
}

std::string PlaceId(const TVertex& vertex) {
    return "p" + std::to_string(vertex.Index + 1);
}
std::string TransitionId(const TTransition& transition) {
    return "t" + std::to_string(transition.Index + 1);
}

struct TStringWriter : pugi::xml_writer {
    std::string Text;
    void write(const void* data, std::size_t size) override {
        Text.append(static_cast<const char*>(data), size);
    }
};

} // namespace

std::string PnmlText(const TEngineNet& net, std::string_view netName) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("pnml");
    root.append_attribute("xmlns") = kNamespace;
    pugi::xml_node netElement = root.append_child("net");
    netElement.append_attribute("id") = "net1";
    netElement.append_attribute("type") = kPtNetType;
    if (!netName.empty())
        AppendLabel(netElement, "name", std::string(netName));
    pugi::xml_node page = netElement.append_child("page");
    page.append_attribute("id") = "page1";

    for (const auto& vertex : net.Vertices) {
        pugi::xml_node place = page.append_child("place");
        place.append_attribute("id") = PlaceId(*vertex).c_str();
        AppendLabel(place, "name", Win1251ToUtf8(vertex->Name));
        AppendPosition(place, vertex->X, vertex->Y);
        if (vertex->Marking >= 0)
            AppendLabel(place, "initialMarking", std::to_string(vertex->Marking));
        AppendToolBlock(place, *vertex);
    }
    for (const auto& transition : net.Transitions) {
        pugi::xml_node element = page.append_child("transition");
        element.append_attribute("id") = TransitionId(*transition).c_str();
        AppendLabel(element, "name", Win1251ToUtf8(transition->Name));
        AppendPosition(element, transition->X, transition->Y);
        AppendToolBlock(element, *transition);
    }
    for (const auto& connection : net.Connections) {
        pugi::xml_node arc = page.append_child("arc");
        const std::string place = PlaceId(*connection->Vertex);
        const std::string transition = TransitionId(*connection->Transition);
        const bool fromPlace = connection->ConnectionType == ctVT;
        arc.append_attribute("id") = ("a" + std::to_string(connection->Index + 1)).c_str();
        arc.append_attribute("source") = (fromPlace ? place : transition).c_str();
        arc.append_attribute("target") = (fromPlace ? transition : place).c_str();
        if (connection->Count >= 1)
            AppendLabel(arc, "inscription", std::to_string(connection->Count));
        AppendToolBlock(arc, *connection);
    }

    TStringWriter writer;
    document.save(writer, "  ", pugi::format_default | pugi::format_no_declaration,
                  pugi::encoding_utf8);
    return std::move(writer.Text);
}
