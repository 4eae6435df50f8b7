#include "Engine.h"
#include "FormDraw.h"
#include "FormMain.h"
#include "NetObjects.h"
#include "RunControl.h"
#include "TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

// Every test keeps its settings file in a folder of its own.
class FormMainTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("KVL_CONFIG", QByteArray::fromStdString((Folder / "KVLConfig.ini").string())); }
    void TearDown() override { qunsetenv("KVL_CONFIG"); }
    TTempFolder Folder;
};

TEST_F(FormMainTest, HoldsTheMaximisedEditorCaptionedNewFile) {
    TEngine engine;
    TFormMain form(engine);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), QString("Сітки Петрі: редактор і симулятор"));
    auto* area = qobject_cast<QMdiArea*>(form.centralWidget());
    ASSERT_NE(area, nullptr);
    ASSERT_EQ(area->subWindowList().size(), 1);
    QMdiSubWindow* sub = area->subWindowList().first();
    EXPECT_EQ(sub->windowTitle(), QString("Новий файл"));
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->widget(), form.FormDraw());
}

TEST_F(FormMainTest, CaptionFollowsTheFileName) {
    TEngine engine;
    TFormMain form(engine);
    engine.FileName = "/home/user/Мережі/черга.kvl";
    form.UpdateDrawCaption();
    EXPECT_EQ(form.DrawWindow()->windowTitle(), QString("/home/user/Мережі/черга.kvl"));
}

TEST_F(FormMainTest, LoadsSettingsAtStartAndSavesThemAtTheEnd) {
    WriteBytes(Folder / "KVLConfig.ini", "[Graph]\r\nScreenUpdateInterval=20\r\n[Vertex]\r\nVertexRadius=250\r\n");
    {
        TEngine engine;
        TFormMain form(engine);
        EXPECT_EQ(engine.Graph.Options.VertexRadius, 250);
        EXPECT_EQ(form.Timer()->interval(), 20);
        EXPECT_EQ(engine.DrawPeriod, 20);
        engine.GridEnabled = false;
    }
    const std::string saved = ReadBytes(Folder / "KVLConfig.ini");
    EXPECT_THAT(saved, HasSubstr("GridEnabled=0\r\n"));
    EXPECT_THAT(saved, HasSubstr("VertexRadius=250\r\n"));
}

TEST_F(FormMainTest, RealTimeRunAdvancesAndClosingDuringItReturnsAtOnce) {
    QElapsedTimer closing;
    {
        TEngine engine;
        TFormMain form(engine);
        form.show();
        TVertex* p = CreateVertex(engine.Net, "P", 1, 0, 0, nullptr);
        TTransition* t = CreateTransition(engine.Net, "T", 0, 0.01, 0, nullptr);
        CreateConnection(engine.Net, ctVT, 1, p, t, nullptr);
        CreateConnection(engine.Net, ctTV, 1, p, t, nullptr);
        engine.TimeScale = 10;
        StartRealTime(engine);
        QTest::qWait(300);
        EXPECT_GT(engine.Net.ModelTime, 0.4); // 25 steps a second of 0.4 units each
        closing.start();
        form.close();
    }
    EXPECT_LT(closing.elapsed(), 1000);
}

} // namespace
