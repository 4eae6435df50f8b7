#include "ProgramRun.h"
#include "RenderOptions.h"
#include "TempFolder.h"

#include <QImage>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

TEST(RenderOptions, ParsesEveryOptionAndRefusesTheRest) {
    const auto all = ParseRenderOptions({"net.kvl", "out.png", "--size", "640x480", "--center",
                                         "-500,300", "--zoom", "250", "--time", "2.5"});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->Width, 640);
    EXPECT_EQ(all->Height, 480);
    EXPECT_EQ(all->CenterX, -500);
    EXPECT_EQ(all->CenterY, 300);
    EXPECT_EQ(all->ZoomPercent, 250);
    EXPECT_EQ(all->ModelTime, 2.5);
    EXPECT_EQ(ParseRenderOptions({"a.kvl", "b.png"})->Width, 1280);
    EXPECT_FALSE(ParseRenderOptions({"a.kvl", "b.png"})->WholeNet);
    EXPECT_TRUE(ParseRenderOptions({"a.kvl", "--whole", "b.png"})->WholeNet);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"a.kvl"},
                                                {"a.kvl", "b.png", "--size", "0x10"},
                                                {"a.kvl", "b.png", "--size", "640"},
                                                {"a.kvl", "b.png", "--zoom", "-5"},
                                                {"a.kvl", "b.png", "--center", "1;2"},
                                                {"a.kvl", "b.png", "--time"},
                                                {"a.kvl", "b.png", "c"}})
        EXPECT_FALSE(ParseRenderOptions(bad)) << ::testing::PrintToString(bad);
}

TEST(Render, DrawsTheNetIntoAPng) {
    TTempFolder folder;
    const auto net = folder / "one.kvl";
    WriteBytes(net,
               "1\r\n[Vertex 0]\r\nP1\r\n2\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n100\r\n0\r\n0\r\n");
    const auto png = folder / "one.png";
    const std::string command = std::string(KVL_RENDER) + " " + net.string() + " " + png.string() +
                                " --size 200x150 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const QImage image(QString::fromStdString(png.string()));
    ASSERT_EQ(image.size(), QSize(200, 150));
    EXPECT_EQ(image.pixelColor(100 - 18, 75), QColor(Qt::white)); // inside the vertex

    // A PNML file is drawn as the net it imports to.
    const auto pnml = folder / "one.pnml";
    WriteBytes(pnml, "<pnml><net id=\"n\"><place id=\"p\"/></net></pnml>");
    const std::string fromPnml = std::string(KVL_RENDER) + " " + pnml.string() + " " +
                                 png.string() + " --size 200x150 2>/dev/null";
    const int drawn = std::system(fromPnml.c_str());
    EXPECT_EQ(WEXITSTATUS(drawn), 0);
    EXPECT_EQ(QImage(QString::fromStdString(png.string())).pixelColor(100 - 18, 75),
              QColor(Qt::white));

    const std::string missing = std::string(KVL_RENDER) + " " + (folder / "no.kvl").string() + " " +
                                png.string() + " 2>/dev/null";
    const int refused = std::system(missing.c_str());
    EXPECT_EQ(WEXITSTATUS(refused), 2);
}

// Two vertices 20000 by 9000 model units apart.
const char* const kTwoVertices =
    "2\r\n[Vertex 0]\r\nP1\r\n2\r\n0\r\n0\r\n0\r\n190\r\n12\r\n90\r\n100\r\n"
    "[Vertex 1]\r\nP2\r\n0\r\n0\r\n20000\r\n9000\r\n190\r\n12\r\n90\r\n100\r\n0\r\n0\r\n";

std::string Render(const std::filesystem::path& net, const std::filesystem::path& out,
                   const std::string& options) {
    return std::string(KVL_RENDER) + " '" + net.string() + "' '" + out.string() + "' " + options;
}

TEST(Render, WritesSvgAndPdfByTheExtensionInAnyCase) {
    TTempFolder folder;
    const auto net = folder / "two.kvl";
    WriteBytes(net, kTwoVertices);
    const auto svg = folder / "two.SVG";
    ASSERT_EQ(RunProgram(Render(net, svg, "--size 200x150"), folder).Status, 0);
    QSvgRenderer renderer(QString::fromStdString(svg.string()));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.defaultSize(), QSize(200, 150));
    const auto pdf = folder / "two.pdf";
    ASSERT_EQ(RunProgram(Render(net, pdf, "--size 200x150"), folder).Status, 0);
    EXPECT_EQ(ReadBytes(pdf).substr(0, 4), "%PDF");
}

TEST(Render, WholeNetTakesInAVertexFarFromTheCentre) {
    TTempFolder folder;
    const auto net = folder / "two.kvl";
    WriteBytes(net, kTwoVertices);
    const auto png = folder / "two.png";
    ASSERT_EQ(RunProgram(Render(net, png, "--whole --zoom 50"), folder).Status, 0);
    const QImage image(QString::fromStdString(png.string()));
    // 20000 by 9000 model units at half the normal zoom, with the vertices and margins about them.
    const double scale = 0.14285 / 2;
    EXPECT_GT(image.width(), 20000 * scale);
    EXPECT_LT(image.width(), 20000 * scale + 100);
    EXPECT_GT(image.height(), 9000 * scale);
    EXPECT_LT(image.height(), 9000 * scale + 140);
}

TEST(Render, FailedWriteSaysWhyAndLeavesNoFile) {
    TTempFolder folder;
    const auto net = folder / "two.kvl";
    WriteBytes(net, kTwoVertices);
    for (const char* name : {"two.png", "two.svg", "two.pdf"}) {
        const auto out = folder / "no such folder" / name;
        const TProgramRun run = RunProgram(Render(net, out, ""), folder);
        EXPECT_NE(run.Status, 0) << name;
        EXPECT_FALSE(run.Err.empty()) << name;
        EXPECT_FALSE(std::filesystem::exists(out)) << name;
    }
    // A bare net with nothing in it has no whole-net picture.
    const auto empty = folder / "empty.kvl";
    WriteBytes(empty, "0\r\n");
    const TProgramRun run = RunProgram(Render(empty, folder / "e.png", "--whole"), folder);
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("немає жодного об'єкта"), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(folder / "e.png"));
}

} // namespace
