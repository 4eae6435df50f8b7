// Writing what leaves the program (pictures, tables): the save dialog of an export and the
// write itself, which never leaves a half-written file in place of an old one.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

// Asks for the name of the file to write: the dialog's caption, its filter ("Рисунок PNG
// (*.png);;Рисунок SVG (*.svg)"), and the suggested name. Empty when the user cancels. Tests
// replace it to give the name without a dialog.
extern std::function<QString(QWidget* parent, const QString& caption, const QString& filter,
                             const QString& suggested)>
    ChooseExportFile;

// The name with `extension` ("csv", without the point) added when it has no suffix of its own,
// as a dialog that did not add one would leave it.
QString WithDefaultExtension(const QString& path, const QString& extension);

// Writes the bytes by a temporary file beside the target and a rename, as the net file is
// written. On failure shows the reason (ShowMessageBox), leaves any old file as it was, and
// returns false.
bool WriteExportFile(QWidget* parent, const QString& path, const QByteArray& bytes);
