#include "Engine.h"
#include "FormDraw.h"
#include "FormMain.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FormMain, HoldsTheMaximisedEditorCaptionedNewFile) {
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

TEST(FormMain, CaptionFollowsTheFileName) {
    TEngine engine;
    TFormMain form(engine);
    engine.FileName = "/home/user/Мережі/черга.kvl";
    form.UpdateDrawCaption();
    EXPECT_EQ(form.DrawWindow()->windowTitle(), QString("/home/user/Мережі/черга.kvl"));
}

} // namespace
