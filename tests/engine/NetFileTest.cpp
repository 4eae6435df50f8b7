#include "NetFile.h"
#include "EngineError.h"
#include "LocaleGuard.h"
#include "NetFileReader.h"
#include "NetObjects.h"
#include "TempFolder.h"
#include "TextCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using ::testing::HasSubstr;

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

class NetFileTest : public ::testing::Test {
protected:
    void SetUp() override { InitEngine(Engine); }

    // The small net of a vertex P1 joined to a uniform transition T1.
    void BuildSmallNet() {
        TEngineNet& net = Engine.Net;
        TVertex* p1 = CreateVertex(net, "P1", 2, 100, 200, &Engine.Graph.Options);
        TTransition* t1 = CreateTransition(net, "T1", 400, 1.5, 200, &Engine.Graph.Options);
        t1->DelayType = dtUniform;
        t1->Deviation = 0.5;
        t1->Weight = 1;
        CreateConnection(net, ctVT, 1, p1, t1, &Engine.Graph.Options);
    }

    // Saves the engine's net and loads it into a fresh engine.
    TEngine& RoundTrip() {
        const auto path = Folder / "net.kvl";
        SaveNet(Engine, path);
        InitEngine(Loaded);
        LoadNet(Loaded, path);
        return Loaded;
    }

    TTempFolder Folder;
    TEngine Engine;
    TEngine Loaded;
};

TEST_F(NetFileTest, SmallNetIsWrittenByteForByte) {
    BuildSmallNet();
    const auto path = Folder / "small.kvl";
    EXPECT_TRUE(SaveNet(Engine, path));
    EXPECT_EQ(ReadBytes(path), Lines({"1",
                                      "[Vertex 0]",
                                      "P1",
                                      "2",
                                      "0",
                                      "100",
                                      "200",
                                      "190",
                                      "12",
                                      "90",
                                      "100",
                                      "1",
                                      "[Transition 0]",
                                      "T1",
                                      "0",
                                      "dtUniform",
                                      "1.5",
                                      "0.5",
                                      "0",
                                      "1",
                                      "400",
                                      "200",
                                      "12",
                                      "200",
                                      "90",
                                      "94",
                                      "1",
                                      "[Connection 0]",
                                      "ctVT",
                                      "1",
                                      "0",
                                      "0",
                                      "0",
                                      "0",
                                      "10",
                                      "10",
                                      "50",
                                      "80"}));
    EXPECT_EQ(Engine.FileName, path);
}

TEST_F(NetFileTest, EmptyNetIsThreeZerosAndLoadsBack) {
    const auto path = Folder / "empty.kvl";
    SaveNet(Engine, path);
    EXPECT_EQ(ReadBytes(path), "0\r\n0\r\n0\r\n");
    CreateVertex(Engine.Net, "", 0, 0, 0, nullptr);
    LoadNet(Engine, path);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
}

TEST_F(NetFileTest, RoundTripKeepsEveryStoredField) {
    TEngineNet& net = Engine.Net;
    TVertex* a = CreateVertex(net, "  padded name ", -5, -100, 300, &Engine.Graph.Options);
    a->Radius = 210;
    a->LineWidth = 3;
    a->NameFontSize = 70;
    a->MarkFontSize = 60;
    TVertex* b = CreateVertex(net, Utf8ToWin1251("Черга ґ"), 2147483647, 2000000000, -7, nullptr);
    TTransition* t =
        CreateTransition(net, Utf8ToWin1251("Обслуговування"), 10, 0.8, 20, &Engine.Graph.Options);
    t->DelayType = dtNormal;
    t->Deviation = 0.125;
    t->Priority = -3;
    t->Weight = 2.75;
    t->Width = 15;
    t->Height = 210;
    t->NameFontSize = 91;
    t->DelayFontSize = 92;
    TTransition* u = CreateTransition(net, "T2", 0, 1e-7, 0, nullptr);
    u->DelayType = dtExponential;
    TConnection* c = CreateConnection(net, ctVT, 3, a, t, &Engine.Graph.Options);
    c->IsInform = true;
    c->Width = 11;
    c->Width1 = 12;
    c->Height1 = 55;
    c->CountFontSize = 81;
    TConnection* f = CreateConnection(net, ctTV, -2, b, u, nullptr);
    f->UseFunction = true;
    f->Formula = Utf8ToWin1251("М(Черга ґ) * 2 + m(p1)");

    const TEngineNet& back = RoundTrip().Net;
    ASSERT_EQ(back.Vertices.size(), 2u);
    ASSERT_EQ(back.Transitions.size(), 2u);
    ASSERT_EQ(back.Connections.size(), 2u);
    const TVertex& a2 = *back.Vertices[0];
    EXPECT_EQ(a2.Name, "  padded name ");
    EXPECT_EQ(a2.Marking, -5);
    EXPECT_EQ(a2.X, -100);
    EXPECT_EQ(a2.Y, 300);
    EXPECT_EQ(a2.Radius, 210);
    EXPECT_EQ(a2.LineWidth, 3);
    EXPECT_EQ(a2.NameFontSize, 70);
    EXPECT_EQ(a2.MarkFontSize, 60);
    const TVertex& b2 = *back.Vertices[1];
    EXPECT_EQ(b2.Name, b->Name);
    EXPECT_EQ(b2.Marking, 2147483647);
    EXPECT_EQ(b2.X, 2000000000);
    EXPECT_EQ(b2.Radius, 0);
    const TTransition& t2 = *back.Transitions[0];
    EXPECT_EQ(t2.Name, t->Name);
    EXPECT_EQ(t2.DelayType, dtNormal);
    EXPECT_EQ(t2.Delay, 0.8);
    EXPECT_EQ(t2.Deviation, 0.125);
    EXPECT_EQ(t2.Priority, -3);
    EXPECT_EQ(t2.Weight, 2.75);
    EXPECT_EQ(t2.X, 10);
    EXPECT_EQ(t2.Y, 20);
    EXPECT_EQ(t2.Width, 15);
    EXPECT_EQ(t2.Height, 210);
    EXPECT_EQ(t2.NameFontSize, 91);
    EXPECT_EQ(t2.DelayFontSize, 92);
    EXPECT_EQ(back.Transitions[1]->DelayType, dtExponential);
    EXPECT_EQ(back.Transitions[1]->Delay, 1e-7);
    const TConnection& c2 = *back.Connections[0];
    EXPECT_EQ(c2.ConnectionType, ctVT);
    EXPECT_EQ(c2.Count, 3);
    EXPECT_TRUE(c2.IsInform);
    EXPECT_FALSE(c2.UseFunction);
    EXPECT_EQ(c2.Vertex, back.Vertices[0].get());
    EXPECT_EQ(c2.Transition, back.Transitions[0].get());
    EXPECT_EQ(c2.Width, 11);
    EXPECT_EQ(c2.Width1, 12);
    EXPECT_EQ(c2.Height1, 55);
    EXPECT_EQ(c2.CountFontSize, 81);
    const TConnection& f2 = *back.Connections[1];
    EXPECT_EQ(f2.ConnectionType, ctTV);
    EXPECT_EQ(f2.Count, -2);
    EXPECT_TRUE(f2.UseFunction);
    EXPECT_EQ(f2.Formula, f->Formula);
    EXPECT_EQ(back.Vertices[1]->InConnections,
              std::vector<TConnection*>{back.Connections[1].get()});
    EXPECT_EQ(back.Transitions[1]->OutConnections,
              std::vector<TConnection*>{back.Connections[1].get()});
}

TEST_F(NetFileTest, WhatIsNotStoredIsLost) {
    TVertex* p = CreateVertex(Engine.Net, "P1", 0, 0, 0, nullptr);
    TTransition* fixed = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
    fixed->Deviation = 0.7;
    TTransition* exponential = CreateTransition(Engine.Net, "T2", 0, 1, 0, nullptr);
    exponential->DelayType = dtExponential;
    exponential->Deviation = 0.7;
    TConnection* c = CreateConnection(Engine.Net, ctVT, 1, p, fixed, nullptr);
    c->Formula = "M(P1)";
    exponential->LaunchBuffer.Entries = {1.0, 2.0};
    Engine.Net.ModelTime = 50;

    const TEngineNet& back = RoundTrip().Net;
    EXPECT_EQ(back.Transitions[0]->Deviation, 0);
    EXPECT_EQ(back.Transitions[1]->Deviation, 0);
    EXPECT_EQ(back.Connections[0]->Formula, "");
    EXPECT_TRUE(back.Transitions[1]->LaunchBuffer.Entries.empty());
    EXPECT_EQ(back.ModelTime, 0);
}

TEST_F(NetFileTest, MonitoredObjectsRestartTheirStatisticsAtTimeZero) {
    TVertex* p = CreateVertex(Engine.Net, "P1", 4, 0, 0, nullptr);
    p->IsMonitoring = true;
    p->MinMarking = 1;
    p->ChangeCount = 9;
    TTransition* t = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
    t->IsMonitoring = true;
    const auto path = Folder / "monitored.kvl";
    SaveNet(Engine, path);
    EXPECT_THAT(ReadBytes(path), HasSubstr("P1\r\n4\r\n-1\r\n"));

    const TEngineNet& back = RoundTrip().Net;
    const TVertex& v = *back.Vertices[0];
    EXPECT_TRUE(v.IsMonitoring);
    EXPECT_EQ(v.MinMarking, 4);
    EXPECT_EQ(v.MaxMarking, 4);
    EXPECT_EQ(v.ChangeCount, 0);
    ASSERT_EQ(v.History.Count(), 1);
    EXPECT_EQ(v.History.Samples[0].Time, 0);
    EXPECT_EQ(v.History.Samples[0].Value, 4);
    EXPECT_TRUE(back.Transitions[0]->IsMonitoring);
    EXPECT_EQ(back.Transitions[0]->History.Count(), 1);
}

TEST_F(NetFileTest, ReadingIsTolerantWhereTheFormatAllows) {
    const auto path = Folder / "tolerant.kvl";
    // Integers after blanks and empty lines with words after them; True/False booleans;
    // an empty name line; LF alone as a line end; the file ends after the vertex list.
    WriteBytes(path, "\r\n  1  vertices\r\nanything\r\n\r\n\t-3 tokens\r\ntRUE\n5\r\n6\r\n"
                     "7\r\n8\r\n9\r\n10");
    LoadNet(Engine, path);
    ASSERT_EQ(Engine.Net.Vertices.size(), 1u);
    const TVertex& v = *Engine.Net.Vertices[0];
    EXPECT_EQ(v.Name, "P1");
    EXPECT_EQ(v.Marking, -3);
    EXPECT_TRUE(v.IsMonitoring);
    EXPECT_EQ(v.X, 5);
    EXPECT_EQ(v.MarkFontSize, 10);
    EXPECT_TRUE(Engine.Net.Transitions.empty());
    EXPECT_EQ(Engine.FileName, path);

    WriteBytes(path, "0\r\n");
    LoadNet(Engine, path);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
}

TEST_F(NetFileTest, CyrillicFolderOpensAndSaves) {
    std::filesystem::create_directories(Folder / "Мережі");
    const auto path = Folder / "Мережі" / "черга.kvl";
    BuildSmallNet();
    SaveNet(Engine, path);
    InitEngine(Loaded);
    LoadNet(Loaded, path);
    EXPECT_EQ(Loaded.Net.Connections.size(), 1u);
    EXPECT_EQ(Loaded.FileName, path);
}

struct TBadFile {
    const char* Title;
    std::string Content;
    int Line;
    const char* Reason;
};

std::string SmallNetWith(const char* header, const std::string& connection) {
    return std::string(header) +
           "[Transition 0]\r\nT1\r\n0\r\ndtDefault\r\n1\r\n0\r\n1\r\n0\r\n0\r\n"
           "12\r\n200\r\n90\r\n94\r\n" +
           connection;
}

const char* const kOneVertex =
    "1\r\n[Vertex 0]\r\nP1\r\n0\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n100\r\n1\r\n";

class NetFileRefusal : public ::testing::TestWithParam<TBadFile> {};

TEST_P(NetFileRefusal, NamesFileAndLineAndKeepsTheNet) {
    TTempFolder folder;
    TEngine engine;
    InitEngine(engine);
    CreateVertex(engine.Net, "Kept", 1, 0, 0, nullptr);
    engine.FileName = "previous.kvl";
    const auto path = folder / "bad.kvl";
    WriteBytes(path, GetParam().Content);
    try {
        LoadNet(engine, path);
        ADD_FAILURE() << "loaded " << GetParam().Title;
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr(path.string()));
        EXPECT_THAT(error.what(), HasSubstr("рядок " + std::to_string(GetParam().Line) + ":"));
        EXPECT_THAT(error.what(), HasSubstr(GetParam().Reason));
        // The bytes read before and loaded from memory are refused with the same words.
        try {
            LoadNetText(engine, ReadNetBytes(path), path);
            ADD_FAILURE() << "loaded from memory " << GetParam().Title;
        } catch (const TEngineError& again) {
            EXPECT_STREQ(again.what(), error.what());
        }
    }
    ASSERT_EQ(engine.Net.Vertices.size(), 1u);
    EXPECT_EQ(engine.Net.Vertices[0]->Name, "Kept");
    EXPECT_EQ(engine.FileName, "previous.kvl");
}

INSTANTIATE_TEST_SUITE_P(
    Files, NetFileRefusal,
    ::testing::Values(
        TBadFile{"marking 3.5", "1\r\n[Vertex 0]\r\nP1\r\n3.5\r\n0\r\n", 4, "ціле число"},
        TBadFile{"integer out of range", "1\r\n[Vertex 0]\r\nP1\r\n2147483648\r\n", 4, "за межі"},
        TBadFile{"boolean word", "1\r\n[Vertex 0]\r\nP1\r\n3\r\nyes\r\n", 5, "логічне"},
        TBadFile{"ends before a boolean", "1\r\n[Vertex 0]\r\nP1\r\n3\r\n", 5, "закінчився"},
        TBadFile{"negative count", "-1\r\n", 1, "від'ємною"},
        TBadFile{"unknown delay type", "0\r\n1\r\n[Transition 0]\r\nT1\r\n0\r\ndtdefault\r\n1\r\n",
                 6, "тип затримки"},
        TBadFile{"real that is no number",
                 "0\r\n1\r\n[Transition 0]\r\nT1\r\n0\r\ndtDefault\r\n1,5\r\n", 7, "дійсне число"},
        TBadFile{"unknown connection type",
                 SmallNetWith(kOneVertex, "1\r\n[Connection 0]\r\nctXX\r\n"), 28, "тип зв'язку"},
        TBadFile{
            "vertex position outside",
            SmallNetWith(kOneVertex, "1\r\n[Connection 0]\r\nctVT\r\n1\r\n0\r\n0\r\n1\r\n0\r\n"),
            32, "вершину з номером 1"},
        TBadFile{
            "transition position outside",
            SmallNetWith(kOneVertex, "1\r\n[Connection 0]\r\nctVT\r\n1\r\n0\r\n0\r\n0\r\n-1\r\n"),
            33, "перехід з номером -1"},
        TBadFile{"second connection of one type",
                 SmallNetWith(
                     kOneVertex,
                     "2\r\n[Connection 0]\r\nctTV\r\n1\r\n0\r\n0\r\n0\r\n0\r\n1\r\n1\r\n1\r\n1\r\n"
                     "[Connection 1]\r\nctTV\r\n1\r\n0\r\n-1\r\nM(P1)\r\n0\r\n0\r\n"),
                 45, "другий зв'язок"}));

// A damaged file can hold a huge word or binary bytes; the message quotes a short, readable
// piece of it and is not cut short by a NUL.
TEST(NetFileMessages, QuoteAShortVisiblePieceOfTheOffendingText) {
    TTempFolder folder;
    TEngine engine;
    InitEngine(engine);
    const auto path = folder / "huge.kvl";
    WriteBytes(path, std::string("1\r\n[Vertex 0]\r\nP1\r\n") + std::string("7\0", 2) +
                         std::string(1'000'000, '9') + "\r\n");
    try {
        LoadNet(engine, path);
        ADD_FAILURE() << "loaded a marking with a NUL in it";
    } catch (const TEngineError& error) {
        const std::string message = error.what();
        EXPECT_LT(message.size(), 400u);
        EXPECT_THAT(message, HasSubstr("«7\\0999"));
        EXPECT_THAT(message, HasSubstr("…»"));
    }

    WriteBytes(path, "0\r\n1\r\n[Transition 0]\r\nT1\r\n0\r\n" + std::string(200, 'd') +
                         std::string("\0\x01", 2) + "\r\n");
    try {
        LoadNet(engine, path);
        ADD_FAILURE() << "loaded an unknown delay type";
    } catch (const TEngineError& error) {
        const std::string message = error.what();
        EXPECT_LT(message.size(), 400u);
        EXPECT_THAT(message, HasSubstr("…» (очікувалося dtDefault"));
    }
}

TEST(NetFileMissing, MissingFileIsReportedAndChangesNothing) {
    TTempFolder folder;
    TEngine engine;
    InitEngine(engine);
    CreateVertex(engine.Net, "Kept", 1, 0, 0, nullptr);
    EXPECT_THROW(LoadNet(engine, folder / "absent.kvl"), TEngineError);
    EXPECT_THROW(LoadNet(engine, folder.Path()), TEngineError); // a folder, not a file
    for (const auto& path : {folder / "absent.kvl", folder.Path()}) {
        std::string byReader, byBytes;
        try {
            LoadNet(engine, path);
        } catch (const TEngineError& error) {
            byReader = error.what();
        }
        try {
            ReadNetBytes(path);
        } catch (const TEngineError& error) {
            byBytes = error.what();
        }
        EXPECT_EQ(byBytes, byReader);
        EXPECT_FALSE(byBytes.empty());
    }
    EXPECT_EQ(engine.Net.Vertices.size(), 1u);
    EXPECT_TRUE(engine.FileName.empty());
}

TEST_F(NetFileTest, FailedSaveKeepsTheOldFileAndTheFileName) {
    const auto path = Folder / "kept.kvl";
    WriteBytes(path, "0\r\n0\r\n0\r\n");
    CreateVertex(Engine.Net, "bad\nname", 0, 0, 0, nullptr);
    EXPECT_THROW(SaveNet(Engine, path), TEngineError);
    EXPECT_EQ(ReadBytes(path), "0\r\n0\r\n0\r\n");
    EXPECT_TRUE(Engine.FileName.empty());

    // A target that cannot be replaced: a folder of that name.
    Engine.Net.Vertices[0]->Name = "good";
    std::filesystem::create_directories(Folder / "folder.kvl");
    EXPECT_THROW(SaveNet(Engine, Folder / "folder.kvl"), TEngineError);
    EXPECT_THROW(SaveNet(Engine, Folder / "no-such-folder" / "net.kvl"), TEngineError);
    EXPECT_TRUE(Engine.FileName.empty());
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Folder.Path()))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST_F(NetFileTest, SaveReplacesAnExistingFileThroughItsLink) {
    const auto real = Folder / "real.kvl";
    WriteBytes(real, "old");
    std::filesystem::create_symlink(real, Folder / "link.kvl");
    BuildSmallNet();
    SaveNet(Engine, Folder / "link.kvl");
    EXPECT_TRUE(std::filesystem::is_symlink(Folder / "link.kvl"));
    EXPECT_THAT(ReadBytes(real), HasSubstr("[Vertex 0]"));
}

// Whatever the loader accepts saves and loads back.
TEST_F(NetFileTest, ExtremeRealsSaveAndLoadBack) {
    BuildSmallNet();
    Engine.Net.Transitions[0]->Delay = std::numeric_limits<double>::max();
    Engine.Net.Transitions[0]->Weight = -std::nextafter(std::numeric_limits<double>::max(), 0.0);
    const auto path = Folder / "extreme.kvl";
    SaveNet(Engine, path);
    InitEngine(Loaded);
    LoadNet(Loaded, path);
    EXPECT_EQ(Loaded.Net.Transitions[0]->Delay, std::numeric_limits<double>::max());
    EXPECT_EQ(Loaded.Net.Transitions[0]->Weight, -std::numeric_limits<double>::max());
    SaveNet(Loaded, Folder / "again.kvl");
    EXPECT_EQ(ReadBytes(Folder / "again.kvl"), ReadBytes(path));
}

TEST_F(NetFileTest, ALoneCarriageReturnInATextIsRefused) {
    BuildSmallNet();
    const auto path = Folder / "cr.kvl";
    SaveNet(Engine, path);
    std::string text = ReadBytes(path);
    text.replace(text.find("P1\r\n"), 2, "P\r1");
    WriteBytes(path, text);
    InitEngine(Loaded);
    try {
        LoadNet(Loaded, path);
        FAIL() << "a text with a lone CR was loaded";
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr("рядок 3"));
        EXPECT_THAT(error.what(), HasSubstr("CR"));
    }
}

// A file cut short loads with what it holds, and the user is told which part ran out.
TEST_F(NetFileTest, AFileCutShortLoadsWithAWarningNamingThePart) {
    BuildSmallNet();
    const auto whole = Folder / "whole.kvl";
    SaveNet(Engine, whole);
    const std::string text = ReadBytes(whole);
    // Cut where the count of the next part would stand: the counts read as 0.
    const std::size_t transitions = text.find("1\r\n[Transition 0]");
    const std::size_t connections = text.find("1\r\n[Connection 0]");
    const std::pair<std::size_t, const char*> cuts[] = {
        {0, "вершин"},
        {transitions, "переходів"},
        {connections, "зв'язків"},
    };
    for (const auto& [at, part] : cuts) {
        const auto cut = Folder / "cut.kvl";
        WriteBytes(cut, text.substr(0, at));
        std::vector<std::string> told;
        InitEngine(Loaded);
        Loaded.ShowMessage = [&](const std::string& message) { told.push_back(message); };
        LoadNet(Loaded, cut);
        ASSERT_EQ(told.size(), 1u) << part;
        EXPECT_THAT(told[0], HasSubstr("cut.kvl"));
        EXPECT_THAT(told[0], HasSubstr(std::string("обірвано опис ") + part));
    }
    std::vector<std::string> told;
    InitEngine(Loaded);
    Loaded.ShowMessage = [&](const std::string& message) { told.push_back(message); };
    LoadNet(Loaded, whole);
    EXPECT_TRUE(told.empty());
}

// Blank lines and blanks around a count are skipped however many there are; the reader keeps
// no more than one line of them at a time.
TEST_F(NetFileTest, PaddingAroundCountsIsSkippedAndAnEndlessWordIsRefused) {
    BuildSmallNet();
    const auto path = Folder / "padded.kvl";
    SaveNet(Engine, path);
    const std::string text = ReadBytes(path);
    WriteBytes(path, std::string(200000, '\n') + std::string(1000000, ' ') + "\t" + text);
    InitEngine(Loaded);
    LoadNet(Loaded, path);
    EXPECT_EQ(NetText(Loaded.Net), text);

    WriteBytes(path, std::string(100000, '7') + "\r\n");
    try {
        LoadNet(Loaded, path);
        FAIL() << "an endless number was read";
    } catch (const TEngineError& error) {
        EXPECT_THAT(error.what(), HasSubstr("рядок 1"));
        EXPECT_LT(std::string(error.what()).size(), 400u);
    }
}

TEST_F(NetFileTest, RealsAreWrittenWithPointUnderCommaLocale) {
    TLocaleGuard locale(kCommaLocale);
    if (!locale.Active())
        GTEST_SKIP() << kCommaLocale << " is not installed";
    BuildSmallNet();
    const auto path = Folder / "comma.kvl";
    SaveNet(Engine, path);
    EXPECT_THAT(ReadBytes(path), HasSubstr("dtUniform\r\n1.5\r\n0.5\r\n"));
    std::string text = ReadBytes(path);
    text.replace(text.find("1.5\r\n"), 3, "1,5");
    WriteBytes(path, text);
    InitEngine(Loaded);
    LoadNet(Loaded, path);
    EXPECT_EQ(Loaded.Net.Transitions[0]->Delay, 1.5);
}

} // namespace

namespace {

// Nets written by another program in the same layout read and write back byte for byte.
TEST(NetFileSharedNets, ReadAndWriteBackByteForByte) {
    const std::filesystem::path folder = KVL_SHARED_NETS;
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no shared nets beside the project";
    TTempFolder temp;
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        if (entry.path().extension() != ".kvl" || name == "bad_integer.kvl" ||
            name == "ends_after_vertices.kvl")
            continue;
        TEngine engine;
        InitEngine(engine);
        LoadNet(engine, entry.path());
        SaveNet(engine, temp / name);
        EXPECT_EQ(ReadBytes(temp / name), ReadBytes(entry.path())) << name;
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

} // namespace

TEST_F(NetFileTest, UnnamedObjectsTakeTheFirstFreeAutomaticNameInFileOrder) {
    // Each unnamed object gets the first "P<n>" / "T<n>" that no object read before it bears
    // exactly: a later named object may repeat it, and "p1" or "P01" leave "P1" free.
    const char* const vertices[] = {"", "P2", "p1", "", "", "P01", "P4", "", "P1"};
    const char* const transitions[] = {"T2", "", "", "t3", ""};
    for (const char* name : vertices)
        CreateVertex(Engine.Net, "x", 0, 0, 0, nullptr)->Name = name;
    for (const char* name : transitions)
        CreateTransition(Engine.Net, "x", 0, 1, 0, nullptr)->Name = name;
    const TEngine& loaded = RoundTrip();
    const std::vector<std::string> expectedVertices = {"P1",  "P2", "p1", "P3", "P4",
                                                       "P01", "P4", "P5", "P1"};
    const std::vector<std::string> expectedTransitions = {"T2", "T1", "T3", "t3", "T4"};
    std::vector<std::string> vertexNames;
    for (const auto& v : loaded.Net.Vertices)
        vertexNames.push_back(v->Name);
    std::vector<std::string> transitionNames;
    for (const auto& t : loaded.Net.Transitions)
        transitionNames.push_back(t->Name);
    EXPECT_EQ(vertexNames, expectedVertices);
    EXPECT_EQ(transitionNames, expectedTransitions);
}

TEST_F(NetFileTest, ConnectionsComeBackInTheirOrderAtEveryEnd) {
    // A vertex joined both ways to the transitions in an order of its own, and each transition
    // fed from another vertex: every array and end array reads back in the order of the file.
    TEngineNet& net = Engine.Net;
    TVertex* hub = CreateVertex(net, "Hub", 1, 0, 0, nullptr);
    std::vector<TTransition*> transitions;
    for (int i = 0; i < 4; ++i)
        transitions.push_back(CreateTransition(net, "T" + std::to_string(i), 0, 1, 0, nullptr));
    for (int i : {2, 0, 3, 1}) {
        CreateConnection(net, ctTV, 1, hub, transitions[i], nullptr);
        CreateConnection(net, ctVT, 1, hub, transitions[3 - i], nullptr);
        CreateConnection(net, ctVT, 1, CreateVertex(net, "", 0, 0, 0, nullptr), transitions[i],
                         nullptr);
    }
    const TEngine& loaded = RoundTrip();
    EXPECT_EQ(NetText(loaded.Net), NetText(net));
    const auto positions = [](const std::vector<TConnection*>& connections) {
        std::vector<std::int32_t> indices;
        for (const TConnection* c : connections)
            indices.push_back(c->Index);
        return indices;
    };
    for (std::size_t i = 0; i < net.Vertices.size(); ++i) {
        EXPECT_EQ(positions(loaded.Net.Vertices[i]->InConnections),
                  positions(net.Vertices[i]->InConnections));
        EXPECT_EQ(positions(loaded.Net.Vertices[i]->OutConnections),
                  positions(net.Vertices[i]->OutConnections));
    }
    for (std::size_t i = 0; i < net.Transitions.size(); ++i) {
        EXPECT_EQ(positions(loaded.Net.Transitions[i]->InConnections),
                  positions(net.Transitions[i]->InConnections));
        EXPECT_EQ(positions(loaded.Net.Transitions[i]->OutConnections),
                  positions(net.Transitions[i]->OutConnections));
    }
}
