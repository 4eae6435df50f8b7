// The editor's command line: a net file to open at start-up, or a request for the usage or the
// version. Qt's own options (-platform, -style...) are taken out by QApplication before this.
#pragma once

#include <QString>
#include <QStringList>

enum class TEditorStart {
    Run,     // start the editor, opening File when it is not empty
    Refused, // the arguments do not fit: Error says why
};

struct TEditorArguments {
    TEditorStart Start = TEditorStart::Run;
    QString File;  // an absolute path, or empty
    QString Error; // in Ukrainian
};

// The arguments after the program's name. A relative file name is made absolute against the
// current folder, so that the net keeps its name when the editor changes folder later.
TEditorArguments ParseEditorArguments(const QStringList& arguments);

extern const char* const kEditorUsage;
