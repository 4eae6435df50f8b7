// The main window of a test, shown and active so that its shortcuts work.
#pragma once

#include "FormMain.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

inline std::unique_ptr<TFormMain> ShownMainWindow(TEngine& engine) {
    auto form = std::make_unique<TFormMain>(engine);
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
}
