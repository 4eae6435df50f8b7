// The editor's entry point: one engine record for the whole run of the program. A net file
// named on the command line (as file managers start the editor) is opened once the window is up.
#include "EditorArguments.h"
#include "Engine.h"
#include "FormMain.h"
#include "KvlVersion.h"
#include "ProgramInfo.h"
#include "QtTranslations.h"

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    // The usage and the version need no window system, so they are answered before Qt starts.
    if (AnswerInfoRequest(std::vector<std::string>(argv + 1, argv + argc), "kvl-editor",
                          kEditorUsage, kKvlVersion))
        return 0;

    QApplication application(argc, argv);
    application.setApplicationName("kvl-editor");
    application.setApplicationVersion(kKvlVersion);
    application.setDesktopFileName("kvl-editor");
    const TEditorArguments arguments = ParseEditorArguments(application.arguments().mid(1));
    if (arguments.Start == TEditorStart::Refused) {
        std::cerr << arguments.Error.toStdString() << '\n' << kEditorUsage;
        return 2;
    }

    static TEngine engine; // outlives every window
    InstallQtTranslations(application);
    TFormMain formMain(engine);
    // Opened after the offer to restore a crashed session's net, which the first show makes: a
    // restored net is then asked about before the file replaces it.
    formMain.SetStartFile(arguments.File);
    formMain.showMaximized();
    return application.exec();
}
