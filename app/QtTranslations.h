// Qt's own texts (the buttons of message boxes, the file and colour dialogs) in Ukrainian.
#pragma once

class QCoreApplication;
class QTranslator;

// Loads Qt's Ukrainian translations from Qt's translations folder and installs them in the
// application, whatever the user's locale: the whole interface is Ukrainian. Returns the
// translator, owned by the application, or nullptr when the translations are not installed.
QTranslator* InstallQtTranslations(QCoreApplication& application);
