#include "NetConvert.h"

#include "Engine.h"
#include "EngineError.h"
#include "FileReplace.h"
#include "NetFile.h"
#include "PnmlExport.h"
#include "PnmlImport.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

const char* const kConvertUsage =
    "Використання: kvl-convert IN OUT\n"
    "  Перетворює сітку між файлом програми (.kvl) і документом PNML (.pnml або .xml);\n"
    "  формати визначають розширення імен. Код виходу 0 — успіх, 2 — помилка (тоді\n"
    "  файл OUT не записується).\n"
    "  --help, -h   надрукувати цю довідку\n"
    "  --version    надрукувати версію\n";

namespace {

enum class TNetFormat { Kvl, Pnml, Unknown };

TNetFormat FormatOf(const std::filesystem::path& path) {
    if (IsPnmlPath(path))
        return TNetFormat::Pnml;
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".kvl" ? TNetFormat::Kvl : TNetFormat::Unknown;
}

} // namespace

TConvertStatus ConvertNetFile(const std::filesystem::path& in, const std::filesystem::path& out,
                              std::ostream& messages) {
    for (const std::filesystem::path* path : {&in, &out})
        if (FormatOf(*path) == TNetFormat::Unknown) {
            messages << "Невідомий формат файлу «" << path->string()
                     << "»: очікувалося розширення .kvl, .pnml або .xml\n";
            return csFailed;
        }
    const auto owned = std::make_unique<TEngine>();
    TEngine& engine = *owned;
    InitEngine(engine);
    engine.ShowMessage = [&](const std::string& note) { messages << note << '\n'; };
    try {
        if (FormatOf(in) == TNetFormat::Pnml) {
            const std::string notes = ImportPnml(engine, in);
            if (!notes.empty())
                messages << notes << '\n';
        } else
            LoadNet(engine, in);
        const std::string text = FormatOf(out) == TNetFormat::Pnml
                                     ? PnmlText(engine.Net, in.stem().string())
                                     : NetText(engine.Net);
        ReplaceFile(out, text);
    } catch (const TEngineError& error) {
        messages << error.what() << '\n';
        return csFailed;
    }
    return csDone;
}
