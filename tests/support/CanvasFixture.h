// The editor canvas shown 400 by 300 pixels at one pixel a model unit, with its undo history,
// and mouse events sent to it as Qt delivers them.
#pragma once

#include "EditHistory.h"
#include "Engine.h"
#include "FormDraw.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

class CanvasFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Engine.Graph.Scale = 1.0;
        Form = std::make_unique<TFormDraw>(Engine, History);
        Form->resize(400, 300);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        ASSERT_EQ(Engine.Graph.ScreenWidth, 400);
    }
    void TearDown() override {
        for (QMenu* menu : Form->findChildren<QMenu*>())
            menu->hide();
    }

    // Window pixels of a model point: the origin lies at the centre, one pixel a unit.
    static QPoint At(int mx, int my) { return {mx + 200, my + 150}; }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers keys = {}) {
        QMouseEvent event(type, p, Form->mapToGlobal(p), button, held, keys);
        QApplication::sendEvent(Form.get(), &event);
    }

    TEngine Engine;
    TEditHistory History{Engine};
    std::unique_ptr<TFormDraw> Form;
};
