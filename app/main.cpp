// The editor's entry point: one engine record for the whole run of the program.
#include "Engine.h"
#include "FormMain.h"
#include "QtTranslations.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    application.setApplicationName("kvl-editor");

    static TEngine engine; // outlives every window
    InstallQtTranslations(application);
    TFormMain formMain(engine);
    formMain.showMaximized();
    return application.exec();
}
