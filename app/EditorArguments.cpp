#include "EditorArguments.h"

#include <QFileInfo>

const char* const kEditorUsage =
    "Використання: kvl-editor [ФАЙЛ.kvl]\n"
    "  Редактор і симулятор сіток Петрі. Заданий файл сітки відкривається під час запуску.\n"
    "  -h, --help     ця довідка\n"
    "  --version      версія програми\n";

TEditorArguments ParseEditorArguments(const QStringList& arguments) {
    TEditorArguments result;
    auto refuse = [&](const QString& error) {
        result.Start = TEditorStart::Refused;
        result.Error = error;
        result.File.clear();
        return result;
    };
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.startsWith('-') && argument != "-")
            return refuse("Невідомий параметр: " + argument);
        if (!result.File.isEmpty())
            return refuse("Можна відкрити лише один файл, а задано більше");
        if (argument.isEmpty())
            return refuse("Порожня назва файлу");
        result.File = QFileInfo(argument).absoluteFilePath();
    }
    return result;
}
