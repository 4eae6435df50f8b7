#include "RenderOptions.h"
#include "TempFolder.h"

#include <QImage>
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

    const std::string missing = std::string(KVL_RENDER) + " " + (folder / "no.kvl").string() + " " +
                                png.string() + " 2>/dev/null";
    const int refused = std::system(missing.c_str());
    EXPECT_EQ(WEXITSTATUS(refused), 2);
}

} // namespace
