// Writing PNML: the document follows the rules of the P/T grammar, and reading it back gives the
// very net, down to the bytes of its net file, for every sample and conformance net.
#include "PnmlExport.h"
#include "EngineError.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "PnmlImport.h"
#include "TextCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <charconv>
#include <map>
#include <set>

namespace {

using ::testing::HasSubstr;

std::vector<std::filesystem::path> NetFilesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(folder))
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".kvl")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The net text after export and import, for a net loaded from its file.
std::string AfterRoundTrip(const TEngine& engine) {
    TEngine imported;
    InitEngine(imported);
    TPnmlImport read = ReadPnml(PnmlText(engine.Net, "net"), "net.pnml", &imported.Graph.Options);
    EXPECT_EQ(read.Notes, "");
    return NetText(read.Net);
}

TEST(PnmlExportTest, RoundTripGivesTheNetFileByteForByte) {
    const std::filesystem::path source = KVL_SOURCE_DIR;
    std::vector<std::filesystem::path> files = NetFilesIn(source / "examples");
    for (const auto& file : NetFilesIn(source / "bench" / "nets"))
        files.push_back(file);
    const std::filesystem::path shared = source / ".." / "shared" / "conformance";
    for (const auto& file : NetFilesIn(shared))
        files.push_back(file);
    ASSERT_GE(files.size(), 10u);
    int compared = 0;
    for (const auto& file : files) {
        TEngine engine;
        InitEngine(engine);
        try {
            LoadNet(engine, file);
        } catch (const TEngineError&) {
            continue; // the conformance set holds files meant to be refused
        }
        ++compared;
        EXPECT_EQ(AfterRoundTrip(engine), NetText(engine.Net)) << file;
    }
    EXPECT_GE(compared, 10);
}

TEST(PnmlExportTest, ValuesOutsideTheLabelsTravelInTheToolBlock) {
    TEngine engine;
    InitEngine(engine);
    TEngineNet& net = engine.Net;
    TVertex* v = CreateVertex(net, " Черга з пробілом ", -3, -15, 7, &engine.Graph.Options);
    v->IsMonitoring = true;
    TTransition* t = CreateTransition(net, "T", 1505, 0.1, -2, &engine.Graph.Options);
    t->DelayType = dtNormal;
    t->Deviation = 1.0 / 3;
    t->Priority = -4;
    t->Weight = 2.5e-7;
    TConnection* c = CreateConnection(net, ctVT, 0, v, t, &engine.Graph.Options);
    c->IsInform = true;
    c->UseFunction = true;
    c->Formula = Utf8ToWin1251("  [Черга] * 2 ");
    CreateConnection(net, ctTV, 7, v, t, &engine.Graph.Options);
    // Names the editor would not let two objects share still come back as they were.
    CreateVertex(net, "t", 0, 0, 0, &engine.Graph.Options);
    EXPECT_EQ(AfterRoundTrip(engine), NetText(net));

    const std::string text = PnmlText(net, "n");
    EXPECT_THAT(text, HasSubstr("<position x=\"-1.5\" y=\"0.7\" />"));
    EXPECT_THAT(text, HasSubstr("<position x=\"150.5\" y=\"-0.2\" />"));
    EXPECT_THAT(text, HasSubstr("<inscription>\n"));
    EXPECT_THAT(text, HasSubstr("<toolspecific tool=\"kvl-editor\" version=\"1.0\">"));
}

// The rules of the P/T grammar, checked on the document as another reader sees it.
TEST(PnmlExportTest, DocumentFollowsThePlaceTransitionGrammar) {
    TEngine engine;
    InitEngine(engine);
    LoadNet(engine, std::filesystem::path(KVL_SOURCE_DIR) / "examples" / "conflict.kvl");
    const std::string text = PnmlText(engine.Net, "conflict");
    EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<pnml"));
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(text.c_str()));

    int roots = 0;
    for (pugi::xml_node node : document.children())
        roots += node.type() == pugi::node_element ? 1 : 0;
    EXPECT_EQ(roots, 1);
    const pugi::xml_node pnml = document.child("pnml");
    EXPECT_STREQ(pnml.attribute("xmlns").value(), "http://www.pnml.org/version-2009/grammar/pnml");
    const pugi::xml_node net = pnml.child("net");
    ASSERT_TRUE(net);
    EXPECT_TRUE(net.attribute("id"));
    EXPECT_STREQ(net.attribute("type").value(), "http://www.pnml.org/version-2009/grammar/ptnet");
    const pugi::xml_node page = net.child("page");
    ASSERT_TRUE(page);
    EXPECT_TRUE(page.attribute("id"));

    std::set<std::string> ids{net.attribute("id").value(), page.attribute("id").value()};
    std::map<std::string, std::string> kinds;
    std::size_t idCount = 2;
    auto nonNegative = [](const char* text, int least) {
        int value = -1;
        const std::string_view view(text);
        const auto result = std::from_chars(view.data(), view.data() + view.size(), value);
        return result.ec == std::errc() && result.ptr == view.data() + view.size() &&
               value >= least;
    };
    std::int64_t tokens = 0;
    std::int64_t weights = 0;
    for (pugi::xml_node node : page.children()) {
        const std::string kind = node.name();
        ASSERT_TRUE(kind == "place" || kind == "transition" || kind == "arc") << kind;
        ids.insert(node.attribute("id").value());
        ++idCount;
        kinds[node.attribute("id").value()] = kind;
        if (kind == "place") {
            const char* marking = node.child("initialMarking").child_value("text");
            EXPECT_TRUE(nonNegative(marking, 0)) << marking;
            tokens += std::stoi(marking);
            EXPECT_TRUE(node.child("graphics").child("position").attribute("x"));
        }
        if (kind == "arc" && node.child("inscription")) {
            const char* weight = node.child("inscription").child_value("text");
            EXPECT_TRUE(nonNegative(weight, 1)) << weight;
            weights += std::stoi(weight);
        }
        for (pugi::xml_node block : node.children("toolspecific"))
            EXPECT_STREQ(block.attribute("tool").value(), "kvl-editor");
    }
    EXPECT_EQ(ids.size(), idCount);
    std::int64_t expectedTokens = 0;
    for (const auto& vertex : engine.Net.Vertices)
        expectedTokens += vertex->Marking;
    EXPECT_EQ(tokens, expectedTokens);
    std::int64_t expectedWeights = 0;
    for (const auto& connection : engine.Net.Connections)
        expectedWeights += connection->Count;
    EXPECT_EQ(weights, expectedWeights);
    std::size_t arcs = 0;
    for (pugi::xml_node arc : page.children("arc")) {
        ++arcs;
        const std::string from = kinds[arc.attribute("source").value()];
        const std::string to = kinds[arc.attribute("target").value()];
        EXPECT_TRUE((from == "place" && to == "transition") ||
                    (from == "transition" && to == "place"))
            << arc.attribute("id").value();
    }
    EXPECT_EQ(arcs, engine.Net.Connections.size());
}

} // namespace
