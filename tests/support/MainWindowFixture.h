// A main window's test: its settings file in a folder of its own, and the messages it shows
// recorded instead of shown.
#pragma once

#include "DialogControls.h"
#include "Engine.h"
#include "TempFolder.h"

#include <QByteArray>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("KVL_CONFIG", QByteArray::fromStdString((Folder / "KVLConfig.ini").string()));
        Previous = ShowMessageBox;
        ShowMessageBox = [this](QWidget*, const QString& text) { Messages << text; };
    }
    void TearDown() override {
        ShowMessageBox = Previous;
        qunsetenv("KVL_CONFIG");
    }
    void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(w, key, modifiers);
    }

    TTempFolder Folder;
    TEngine Engine;
    QStringList Messages;
    std::function<void(QWidget*, const QString&)> Previous;
};
