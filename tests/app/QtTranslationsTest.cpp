// Qt's standard buttons and dialogs speak Ukrainian once the program's translations are in.
#include "QtTranslations.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

QString Plain(QString text) {
    return text.remove('&');
}

TEST(QtTranslations, StandardButtonsAndDialogsAreUkrainian) {
    QTranslator* translator = InstallQtTranslations(*QApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Ukrainian translations (qt6-translations-l10n) are "
                                      "not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(Plain(box.button(QMessageBox::Yes)->text()), "Так");
    EXPECT_EQ(Plain(box.button(QMessageBox::Cancel)->text()), "Скасувати");
    EXPECT_EQ(QColorDialog::tr("Select Color"), "Оберіть колір");
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

} // namespace
