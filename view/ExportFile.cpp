#include "ExportFile.h"

#include "DialogControls.h"
#include "EngineError.h"
#include "FileReplace.h"

#include <QFileDialog>
#include <QFileInfo>

std::function<QString(QWidget*, const QString&, const QString&, const QString&)> ChooseExportFile =
    [](QWidget* parent, const QString& caption, const QString& filter, const QString& suggested) {
        QFileDialog dialog(parent, caption, suggested, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        KeepAbovePanels(&dialog);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };

QString WithDefaultExtension(const QString& path, const QString& extension) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + "." + extension;
}

bool WriteExportFile(QWidget* parent, const QString& path, const QByteArray& bytes) {
    try {
        ReplaceFile(std::filesystem::path(path.toStdString()), bytes.toStdString());
        return true;
    } catch (const TEngineError& error) {
        ShowMessageBox(parent, QString::fromStdString(error.what()));
        return false;
    }
}
