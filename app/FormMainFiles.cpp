// The main window's "Недавні файли", the file named at start-up, and the user's guide.
#include "FormMain.h"

#include "DialogControls.h"
#include "Engine.h"
#include "EngineError.h"
#include "FormGuide.h"
#include "Settings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>

#include <iostream>
#include <utility>

void TFormMain::StartUp() {
    OfferRecovery();
    if (!StartFile.isEmpty())
        OpenProjectFile(std::exchange(StartFile, QString()));
}

void TFormMain::OpenRecentFile(const std::filesystem::path& path) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        ShowMessageBox(this, "Файл «" + QString::fromStdString(path.string()) +
                                 "» не знайдено. Його прибрано зі списку недавніх файлів.");
        RecentFiles_ = LoadRecentFiles(SettingsPath_);
        ForgetRecentFile(RecentFiles_, path);
        SaveRecentFileList();
        return;
    }
    OpenProjectFile(QString::fromStdString(path.string()));
}

void TFormMain::RememberFile(const std::filesystem::path& path) {
    std::filesystem::path absolute = path;
    std::error_code ignored;
    if (const auto made = std::filesystem::absolute(path, ignored); !made.empty())
        absolute = made;
    // Another editor may have opened files meanwhile: their list is the one to add to.
    RecentFiles_ = LoadRecentFiles(SettingsPath_);
    RememberRecentFile(RecentFiles_, absolute);
    SaveRecentFileList();
}

void TFormMain::SaveRecentFileList() {
    try {
        // A new settings file gets the settings first, so that the list follows them.
        if (!std::filesystem::exists(SettingsPath_))
            SaveSettings(Engine, SettingsPath_);
        SaveRecentFiles(SettingsPath_, RecentFiles_);
    } catch (const TEngineError& error) {
        // The list is a convenience: the reason is logged and the file stays as it was.
        std::cerr << error.what() << '\n';
    }
    FillRecentMenu();
}

void TFormMain::FillRecentMenu() {
    RecentMenu->clear();
    for (std::size_t i = 0; i < RecentFiles_.size(); ++i) {
        const QString full = QString::fromStdString(RecentFiles_[i].string());
        const QString name = QString::fromStdString(RecentFiles_[i].filename().string());
        const QString folder = QDir::toNativeSeparators(
            QString::fromStdString(RecentFiles_[i].parent_path().string()));
        QString text = QString("%1  %2 — %3").arg(i + 1).arg(name, folder);
        text.replace('&', "&&");
        if (i < 9)
            text.prepend('&');
        QAction* action = RecentMenu->addAction(text);
        action->setObjectName(QString("RecentFile%1").arg(i + 1));
        action->setStatusTip(full);
        const std::filesystem::path path = RecentFiles_[i];
        connect(action, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
    }
    if (!RecentFiles_.empty()) {
        RecentMenu->addSeparator();
        QAction* clear = RecentMenu->addAction("Очистити список");
        clear->setObjectName("ButtonClearRecentFiles");
        connect(clear, &QAction::triggered, this, [this] {
            RecentFiles_.clear();
            SaveRecentFileList();
        });
    }
    RecentMenu->setEnabled(!RecentFiles_.empty());
}

void TFormMain::ButtonGuideClick() {
    const std::filesystem::path index =
        GuideIndexPath(QCoreApplication::applicationDirPath().toStdString());
    if (!FormGuide_->ShowPage(index)) {
        ShowMessageBox(this, "Посібник користувача не знайдено. Його сторінки мають бути в теці "
                             "share/doc/kvl-editor/guide поруч із текою програми.");
        return;
    }
    FormGuide_->show();
    FormGuide_->raise();
    FormGuide_->activateWindow();
}
