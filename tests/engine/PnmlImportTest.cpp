// Reading PNML: the real files other tools wrote, the tolerance they need, and bad input refused
// with a message that points at the element while the net stays as it was.
#include "PnmlImport.h"
#include "EngineError.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "TempFolder.h"
#include "TextCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using ::testing::HasSubstr;

const std::filesystem::path kSamples = KVL_SOURCE_DIR "/../shared/pnml-samples";

struct TSample {
    const char* File;
    std::size_t Places;
    std::size_t Transitions;
    std::size_t Connections; // arcs that become connections
    std::int64_t Tokens;     // the sum of the initial markings
    std::int32_t MaxCount;   // the greatest arc weight
    const char* Note;        // a text the notes must hold, or nullptr for no notes
};

std::ostream& operator<<(std::ostream& out, const TSample& sample) {
    return out << sample.File;
}

class PnmlSampleTest : public ::testing::TestWithParam<TSample> {};

TEST_P(PnmlSampleTest, ImportsWithCountsMarkingsWeightsAndDistinctPlaces) {
    const TSample& sample = GetParam();
    if (!std::filesystem::exists(kSamples))
        GTEST_SKIP() << "no PNML samples beside the project";
    TEngine engine;
    InitEngine(engine);
    const TPnmlImport imported = ReadPnmlFile(kSamples / sample.File, &engine.Graph.Options);
    const TEngineNet& net = imported.Net;
    EXPECT_EQ(net.Vertices.size(), sample.Places);
    EXPECT_EQ(net.Transitions.size(), sample.Transitions);
    EXPECT_EQ(net.Connections.size(), sample.Connections);
    std::int64_t tokens = 0;
    for (const auto& vertex : net.Vertices)
        tokens += vertex->Marking;
    EXPECT_EQ(tokens, sample.Tokens);
    std::int32_t maxCount = 0;
    for (const auto& connection : net.Connections)
        maxCount = std::max(maxCount, connection->Count);
    EXPECT_EQ(maxCount, sample.MaxCount);
    if (sample.Note == nullptr)
        EXPECT_EQ(imported.Notes, "");
    else
        EXPECT_THAT(imported.Notes, HasSubstr(sample.Note));

    // Names are unique as the editor requires, and no two nodes share a point.
    std::set<std::string> names;
    std::set<std::pair<std::int32_t, std::int32_t>> points;
    for (const auto& vertex : net.Vertices) {
        EXPECT_FALSE(vertex->Name.empty());
        names.insert(UpperCase1251(vertex->Name));
        points.emplace(vertex->X, vertex->Y);
        EXPECT_EQ(vertex->Radius, engine.Graph.Options.VertexRadius);
    }
    for (const auto& transition : net.Transitions) {
        names.insert(UpperCase1251(transition->Name));
        points.emplace(transition->X, transition->Y);
    }
    EXPECT_EQ(names.size(), sample.Places + sample.Transitions);
    EXPECT_EQ(points.size(), sample.Places + sample.Transitions);
    // The imported net saves as a net file that loads again.
    TEngine reloaded;
    InitEngine(reloaded);
    LoadNetText(reloaded, NetText(net), "imported.kvl");
    EXPECT_EQ(NetText(reloaded.Net), NetText(net));
}

// Counts as the samples' README gives them; inhibitor arcs are left out, and the arcs of a
// reference node join its target.
INSTANTIATE_TEST_SUITE_P(
    SharedSamples, PnmlSampleTest,
    ::testing::Values(
        TSample{"epnk_pure.pnml", 1, 2, 2, 1, 1, nullptr},
        TSample{"epnk-exp_pure.pnml", 2, 3, 3, 1, 1, "сіток у файлі: 2"},
        TSample{"epnk_multi_mutex.pnml", 10, 9, 24, 4, 1, nullptr},
        TSample{"woped_Subprocesses.pnml", 13, 10, 22, 1, 1, nullptr},
        TSample{"woped_MinimalCoverabilitySet.pnml", 5, 5, 12, 1, 2, nullptr},
        TSample{"tapaal_inhibitor-relevance-test001_model.pnml", 8, 4, 8, 8, 2,
                "інгібіторні дуги: 4"},
        TSample{"mcc_DiscoveryGPU-PT-15a_model.pnml", 153, 211, 678, 1, 1, nullptr},
        TSample{"mcc_JoinFreeModules-PT-0100_model.pnml", 501, 801, 2302, 10301, 100, nullptr},
        TSample{"mcc_TwoPhaseLocking-PT-nC00004vD_model.pnml", 8, 6, 18, 8, 1, nullptr},
        TSample{"mcc_RwMutex-PT-r0010w0010_model.pnml", 50, 40, 300, 30, 1, nullptr},
        TSample{"prom_running-example.pnml", 9, 10, 22, 1, 1, "кольори"},
        TSample{"pm4py_stochastic_running_example.pnml", 8, 14, 28, 1, 1, nullptr},
        TSample{"pipe_gspn1.xml", 5, 5, 12, 4, 1, nullptr},
        TSample{"pnmlfw_Token-ring.pnml", 18, 15, 67, 0, 1, nullptr}));

TEST(PnmlImportTest, ColouredNetIsRefusedNamingItsType) {
    if (!std::filesystem::exists(kSamples))
        GTEST_SKIP() << "no PNML samples beside the project";
    try {
        ReadPnmlFile(kSamples / "mcc_Peterson-COL-2_model.pnml", nullptr);
        FAIL() << "a coloured net was imported";
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr("symmetricnet"));
        EXPECT_THAT(error.what(), HasSubstr("P/T"));
    }
}

std::string Document(const std::string& page) {
    return "<?xml version=\"1.0\"?>\n"
           "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">\n"
           "<net id=\"n\" type=\"http://www.pnml.org/version-2009/grammar/ptnet\">\n"
           "<page id=\"g\">\n" +
           page + "</page>\n</net>\n</pnml>\n";
}

TPnmlImport Read(const std::string& text) {
    return ReadPnml(text, "test.pnml", nullptr);
}

TEST(PnmlImportTest, NestedNetsKeepTheirOwnIdsAndReferencesFollowTheirChain) {
    // The inner net reuses the outer ids; a reference to a reference ends at the place.
    const TPnmlImport imported = Read(Document(
        "<place id=\"p\"><initialMarking><text>3</text></initialMarking></place>\n"
        "<transition id=\"t\"/>\n"
        "<referencePlace id=\"r2\" ref=\"r1\"/>\n"
        "<page id=\"inner\"><referencePlace id=\"r1\" ref=\"p\"/></page>\n"
        "<arc id=\"a\" source=\"r2\" target=\"t\"><inscription><text> 2 </text></inscription>"
        "</arc>\n"
        "<page id=\"sub\"><net><place id=\"p\"/><transition id=\"t\"/>"
        "<arc id=\"a\" source=\"t\" target=\"p\"/></net></page>\n"));
    const TEngineNet& net = imported.Net;
    ASSERT_EQ(net.Vertices.size(), 2u);
    ASSERT_EQ(net.Transitions.size(), 2u);
    ASSERT_EQ(net.Connections.size(), 2u);
    EXPECT_EQ(net.Connections[0]->Vertex, net.Vertices[0].get());
    EXPECT_EQ(net.Connections[0]->Count, 2);
    EXPECT_EQ(net.Connections[1]->Vertex, net.Vertices[1].get());
    EXPECT_EQ(net.Connections[1]->Transition, net.Transitions[1].get());
    EXPECT_EQ(net.Connections[1]->ConnectionType, ctTV);
    EXPECT_EQ(net.Connections[1]->Count, 1);
    // Ids name the nodes without a name, made unique letter case disregarded.
    EXPECT_EQ(net.Vertices[0]->Name, "p");
    EXPECT_EQ(net.Vertices[1]->Name, "p_2");
    EXPECT_EQ(net.Transitions[0]->Name, "t");
    EXPECT_EQ(net.Transitions[1]->Name, "t_2");
}

TEST(PnmlImportTest, NamesArePlainTextAndPositionsAreScaled) {
    const TPnmlImport imported =
        Read("<pnml><net id=\"n\">"
             "<place id=\"a\"><name><text>Черга</text></name>"
             "<graphics><position x=\"12.5\" y=\"-3\"/></graphics></place>"
             "<transition id=\"b\"><name><value>ЧЕРГА</value></name>"
             "<graphics><position y=\"+4\" x=\"7\"/></graphics></transition>"
             "</net></pnml>");
    const TEngineNet& net = imported.Net;
    ASSERT_EQ(net.Vertices.size(), 1u);
    EXPECT_EQ(Win1251ToUtf8(net.Vertices[0]->Name), "Черга");
    EXPECT_EQ(Win1251ToUtf8(net.Transitions[0]->Name), "ЧЕРГА_2");
    EXPECT_EQ(net.Vertices[0]->X, 125);
    EXPECT_EQ(net.Vertices[0]->Y, -30);
    EXPECT_EQ(net.Transitions[0]->X, 70);
    EXPECT_EQ(net.Transitions[0]->Y, 40);
}

// Nodes this program wrote keep their names; the other nodes' names and a second net's
// repetition of a kept name give way.
TEST(PnmlImportTest, OwnNamesAreKeptAndOthersGiveWay) {
    const std::string own = "<toolspecific tool=\"kvl-editor\" version=\"1.0\"/>";
    const TPnmlImport imported = Read("<pnml><net id=\"n1\"><page id=\"g1\">"
                                      "<place id=\"a\"><name><text>A</text></name></place>"
                                      "<place id=\"b\"><name><text>A</text></name>" +
                                      own +
                                      "</place>"
                                      "</page></net><net id=\"n2\"><page id=\"g2\">"
                                      "<place id=\"c\"><name><text>a</text></name>" +
                                      own +
                                      "</place>"
                                      "</page></net></pnml>");
    const TEngineNet& net = imported.Net;
    ASSERT_EQ(net.Vertices.size(), 3u);
    std::set<std::string> upper;
    for (const auto& vertex : net.Vertices) {
        std::string name = vertex->Name;
        std::transform(name.begin(), name.end(), name.begin(), ::toupper);
        upper.insert(name);
    }
    EXPECT_EQ(upper.size(), 3u);
    EXPECT_EQ(net.Vertices[1]->Name, "A");
}

TEST(PnmlImportTest, CountsNamedAfterTheirTokenKindAreRead) {
    const TPnmlImport imported = Read(Document(
        "<place id=\"p\"><initialMarking><value>Default,3</value></initialMarking></place>\n"
        "<place id=\"q\"><initialMarking><text>+4</text></initialMarking></place>\n"
        "<transition id=\"t\"/>\n"
        "<arc id=\"a\" source=\"p\" target=\"t\"><inscription><value>Default, 2</value>"
        "</inscription></arc>\n"));
    EXPECT_EQ(imported.Net.Vertices[0]->Marking, 3);
    EXPECT_EQ(imported.Net.Vertices[1]->Marking, 4);
    EXPECT_EQ(imported.Net.Connections[0]->Count, 2);
}

TEST(PnmlImportTest, ArcsOfOtherKindsAndCapacitiesAreListedInOneMessage) {
    const TPnmlImport imported = Read(Document(
        "<place id=\"p\"><capacity><text>5</text></capacity></place><transition id=\"t\"/>\n"
        "<arc id=\"a\" source=\"p\" target=\"t\" type=\"inhibitor\"/>\n"
        "<arc id=\"b\" source=\"p\" target=\"t\"><type><text>reset</text></type></arc>\n"
        "<arc id=\"c\" source=\"t\" target=\"p\"><arctype><text>normal</text></arctype></arc>\n"
        "<arc id=\"d\" source=\"t\" target=\"p\"/>\n"));
    EXPECT_EQ(imported.Net.Connections.size(), 1u);
    EXPECT_EQ(imported.Net.Connections[0]->Count, 2); // c and d join
    EXPECT_THAT(imported.Notes, HasSubstr("інгібіторні дуги: 1"));
    EXPECT_THAT(imported.Notes, HasSubstr("скидальні дуги (reset): 1"));
    EXPECT_THAT(imported.Notes, HasSubstr("ємності місць: 1"));
    EXPECT_THAT(imported.Notes, HasSubstr("об'єднано"));
}

struct TBadInput {
    const char* Name;
    std::string Text;
    std::vector<std::string> Expected; // parts of the message
};

std::ostream& operator<<(std::ostream& out, const TBadInput& bad) {
    return out << bad.Name;
}

class PnmlBadInputTest : public ::testing::TestWithParam<TBadInput> {};

TEST_P(PnmlBadInputTest, IsRefusedNamingTheElementAndTheNetStays) {
    TTempFolder folder;
    const auto path = folder / "bad.pnml";
    WriteBytes(path, GetParam().Text);
    TEngine engine;
    InitEngine(engine);
    CreateVertex(engine.Net, "Stays", 4, 0, 0, &engine.Graph.Options);
    engine.FileName = "kept.kvl";
    const std::string before = NetText(engine.Net);
    try {
        ImportPnml(engine, path);
        FAIL() << "bad input was imported";
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr("bad.pnml"));
        for (const std::string& part : GetParam().Expected)
            EXPECT_THAT(error.what(), HasSubstr(part));
    }
    EXPECT_EQ(NetText(engine.Net), before);
    EXPECT_EQ(engine.FileName, "kept.kvl");
}

const std::string kTwoNodes = "<place id=\"p\"/>\n<transition id=\"t\"/>\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, PnmlBadInputTest,
    ::testing::Values(
        TBadInput{"MalformedXml",
                  "<pnml>\n<net id=\"n\">\n<place id=\"p\">\n</net>\n</pnml>\n",
                  {"рядок 4"}},
        TBadInput{"NotPnml", "<petrinet/>", {"<pnml>"}},
        TBadInput{"UnknownArcTarget",
                  Document(kTwoNodes + "<arc id=\"a\" source=\"p\" target=\"nope\"/>\n"),
                  {"рядок 7", "<arc id=\"a\">", "«nope»"}},
        TBadInput{"PlaceToPlace",
                  Document("<place id=\"p\"/>\n<place id=\"q\"/>\n"
                           "<arc id=\"a\" source=\"p\" target=\"q\"/>\n"),
                  {"рядок 7", "<arc id=\"a\">", "два місця"}},
        TBadInput{"NegativeMarking",
                  Document("<place id=\"p\"><initialMarking><text>-2</text></initialMarking>"
                           "</place>\n"),
                  {"рядок 5", "<place id=\"p\">", "від'ємне"}},
        TBadInput{"FractionalMarking",
                  Document("<place id=\"p\"><initialMarking><text>1.5</text></initialMarking>"
                           "</place>\n"),
                  {"<place id=\"p\">", "«1.5»", "не є цілим"}},
        TBadInput{"ParallelWeightsBeyondAWeight",
                  Document(kTwoNodes + "<arc id=\"a\" source=\"p\" target=\"t\"><inscription>"
                                       "<text>2000000000</text></inscription></arc>\n"
                                       "<arc id=\"b\" source=\"p\" target=\"t\"><inscription>"
                                       "<text>2000000000</text></inscription></arc>\n"),
                  {"<arc id=\"b\">", "перевищує"}},
        TBadInput{"ZeroInscription",
                  Document(kTwoNodes + "<arc id=\"a\" source=\"p\" target=\"t\">"
                                       "<inscription><text>0</text></inscription></arc>\n"),
                  {"<arc id=\"a\">", "менше за 1"}},
        TBadInput{"DuplicateId",
                  Document("<place id=\"p\"/>\n<transition id=\"p\"/>\n"),
                  {"рядок 6", "id «p»", "рядку 5"}},
        TBadInput{"ReferenceCycle",
                  Document("<referencePlace id=\"r\" ref=\"s\"/>\n"
                           "<referencePlace id=\"s\" ref=\"r\"/>\n"),
                  {"<referencePlace", "коло"}},
        TBadInput{"BadToolValue",
                  Document("<transition id=\"t\"><toolspecific tool=\"kvl-editor\" "
                           "version=\"1.0\">\n<Priority>high</Priority></toolspecific>"
                           "</transition>\n"),
                  {"рядок 6", "<Priority>", "«high»"}},
        TBadInput{"NoNet",
                  "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\"/>",
                  {"<net>"}}));

TEST(PnmlImportTest, PagesNestedBeyondReasonAreRefusedNotOverflowed) {
    std::string pages;
    for (int i = 0; i < 5000; ++i)
        pages += "<page>";
    try {
        Read("<pnml><net id=\"n\">" + pages);
        FAIL();
    } catch (const TEngineError& error) {
        // Malformed as it stands (never closed), so the parser refuses it first...
        EXPECT_THAT(error.what(), HasSubstr("рядок 1"));
    }
    std::string closed = pages;
    for (int i = 0; i < 5000; ++i)
        closed += "</page>";
    try {
        Read("<pnml><net id=\"n\">" + closed + "</net></pnml>");
        FAIL();
    } catch (const TEngineError& error) {
        // ...and, well formed, the walk over it stops at a depth it can take.
        EXPECT_THAT(error.what(), HasSubstr("1000"));
    }
}

TEST(PnmlImportTest, MissingFileIsNamed) {
    TEngine engine;
    InitEngine(engine);
    try {
        ImportPnml(engine, "/nonexistent/folder/net.pnml");
        FAIL();
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr("net.pnml"));
    }
}

TEST(PnmlImportTest, LinesCountInLatinOneDocuments) {
    // The bytes above 0x7F are widened to UTF-8 before parsing; lines stay where they were.
    try {
        Read("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<pnml><net id=\"n\">\n"
             "<place id=\"p\"><name><text>caf\xE9</text></name></place>\n"
             "<place id=\"q\"><initialMarking><text>x</text></initialMarking></place>\n"
             "</net></pnml>");
        FAIL();
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr("рядок 4"));
    }
    const TPnmlImport imported =
        Read("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<pnml><net id=\"n\">"
             "<place id=\"p\"><name><text>caf\xE9</text></name></place></net></pnml>");
    EXPECT_EQ(Win1251ToUtf8(imported.Net.Vertices[0]->Name), "caf?");
}

} // namespace
