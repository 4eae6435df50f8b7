#include "Settings.h"

#include "EngineError.h"
#include "FileReplace.h"
#include "IniFile.h"
#include "NumberText.h"
#include "RunControl.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

enum TSettingKind { skBool, skInteger, skColor, skLocaleReal };

struct TSetting {
    const char* Section;
    const char* Key;
    TSettingKind Kind;
    void* Live;
    const void* Default;
};

// Every key in the order it is read and written, with its live value and its default.
std::vector<TSetting> SettingsTable(TEngine& e) {
    TEngineGraphOptions& o = e.Graph.Options;
    const TEngineDefaults& d = e.Defaults;
    return {
        {"Options", "TimeLineEnabled", skBool, &e.TimeLineEnabled, &d.TimeLineEnabled},
        {"Options", "GridEnabled", skBool, &e.GridEnabled, &d.GridEnabled},
        {"Options", "ConflictCheck", skBool, &e.ConflictCheck, &d.ConflictCheck},
        {"Options", "BaseVertexMark", skInteger, &e.BaseVertexMark, &d.BaseVertexMark},
        {"Options", "BaseTransitionDelay", skLocaleReal, &e.BaseTransitionDelay,
         &d.BaseTransitionDelay},
        {"Options", "DoVertexHistorySimple", skBool, &e.DoVertexHistorySimple,
         &d.DoVertexHistorySimple},
        {"Options", "DoTransitionHistorySimple", skBool, &e.DoTransitionHistorySimple,
         &d.DoTransitionHistorySimple},
        {"Options", "VertexHistoryNormal", skInteger, &e.VertexHistoryNormal,
         &d.VertexHistoryNormal},
        {"Options", "TransitionHistoryNormal", skInteger, &e.TransitionHistoryNormal,
         &d.TransitionHistoryNormal},
        {"Graph", "ScreenUpdateInterval", skInteger, &o.ScreenUpdateInterval,
         &d.ScreenUpdateInterval},
        {"Graph", "ScreenColor", skColor, &o.ScreenColor, &d.ScreenColor},
        {"Graph", "TimeLineColor", skColor, &o.TimeLineColor, &d.TimeLineColor},
        {"Graph", "GridColor", skColor, &o.GridColor, &d.GridColor},
        {"Vertex", "VertexAmbientColor", skColor, &o.VertexAmbientColor, &d.VertexAmbientColor},
        {"Vertex", "VertexAmbientColor1", skColor, &o.VertexAmbientColor1, &d.VertexAmbientColor1},
        {"Vertex", "VertexPickColor", skColor, &o.VertexPickColor, &d.VertexPickColor},
        {"Vertex", "VertexPickColor1", skColor, &o.VertexPickColor1, &d.VertexPickColor1},
        {"Vertex", "VertexChoiceColor", skColor, &o.VertexChoiceColor, &d.VertexChoiceColor},
        {"Vertex", "VertexChoiceColor1", skColor, &o.VertexChoiceColor1, &d.VertexChoiceColor1},
        {"Vertex", "VertexRadius", skInteger, &o.VertexRadius, &d.VertexRadius},
        {"Vertex", "VertexLineWidth", skInteger, &o.VertexLineWidth, &d.VertexLineWidth},
        {"Vertex", "VertexNameFontSize", skInteger, &o.VertexNameFontSize, &d.VertexNameFontSize},
        {"Vertex", "VertexMarkFontSize", skInteger, &o.VertexMarkFontSize, &d.VertexMarkFontSize},
        {"Transition", "TransitionAmbientColor", skColor, &o.TransitionAmbientColor,
         &d.TransitionAmbientColor},
        {"Transition", "TransitionPickColor", skColor, &o.TransitionPickColor,
         &d.TransitionPickColor},
        {"Transition", "TransitionChoiceColor", skColor, &o.TransitionChoiceColor,
         &d.TransitionChoiceColor},
        {"Transition", "TransitionWidth", skInteger, &o.TransitionWidth, &d.TransitionWidth},
        {"Transition", "TransitionHeight", skInteger, &o.TransitionHeight, &d.TransitionHeight},
        {"Transition", "TransitionNameFontSize", skInteger, &o.TransitionNameFontSize,
         &d.TransitionNameFontSize},
        {"Transition", "TransitionDelayFontSize", skInteger, &o.TransitionDelayFontSize,
         &d.TransitionDelayFontSize},
        {"Connection", "ConnectionAmbientColor", skColor, &o.ConnectionAmbientColor,
         &d.ConnectionAmbientColor},
        {"Connection", "ConnectionPickColor", skColor, &o.ConnectionPickColor,
         &d.ConnectionPickColor},
        {"Connection", "ConnectionChoiceColor", skColor, &o.ConnectionChoiceColor,
         &d.ConnectionChoiceColor},
        {"Connection", "ConnectionFlashColor", skColor, &o.ConnectionFlashColor,
         &d.ConnectionFlashColor},
        {"Connection", "ConnectionWidth", skInteger, &o.ConnectionWidth, &d.ConnectionWidth},
        {"Connection", "ConnectionWidth1", skInteger, &o.ConnectionWidth1, &d.ConnectionWidth1},
        {"Connection", "ConnectionHeight1", skInteger, &o.ConnectionHeight1, &d.ConnectionHeight1},
        {"Connection", "ConnectionCountFontSize", skInteger, &o.ConnectionCountFontSize,
         &d.ConnectionCountFontSize},
        {"Connection", "ConnectionFlashOnDelay", skInteger, &o.ConnectionFlashOnDelay,
         &d.ConnectionFlashOnDelay},
        {"Connection", "ConnectionFlashOffDelay", skInteger, &o.ConnectionFlashOffDelay,
         &d.ConnectionFlashOffDelay},
    };
}

void CopyDefault(const TSetting& s) {
    switch (s.Kind) {
    case skBool:
        *static_cast<bool*>(s.Live) = *static_cast<const bool*>(s.Default);
        break;
    case skInteger:
        *static_cast<std::int32_t*>(s.Live) = *static_cast<const std::int32_t*>(s.Default);
        break;
    case skColor:
        *static_cast<TColor*>(s.Live) = *static_cast<const TColor*>(s.Default);
        break;
    case skLocaleReal:
        *static_cast<double*>(s.Live) = *static_cast<const double*>(s.Default);
        break;
    }
}

// Reads one value; anything that does not convert leaves the default in place.
void ReadSetting(const TSetting& s, const std::optional<std::string>& text) {
    CopyDefault(s);
    if (!text || text->empty())
        return;
    if (s.Kind == skLocaleReal) {
        if (const auto value = TryLocaleTextToFloat(*text))
            *static_cast<double*>(s.Live) = *value;
        return;
    }
    const auto value = ParseIniInteger(*text);
    if (!value)
        return;
    if (s.Kind == skBool)
        *static_cast<bool*>(s.Live) = *value != 0;
    else if (s.Kind == skInteger)
        *static_cast<std::int32_t*>(s.Live) = *value;
    else
        *static_cast<TColor*>(s.Live) = static_cast<TColor>(*value);
}

std::string SettingText(const TSetting& s) {
    switch (s.Kind) {
    case skBool:
        return *static_cast<const bool*>(s.Live) ? "1" : "0";
    case skInteger:
        return std::to_string(*static_cast<const std::int32_t*>(s.Live));
    case skColor:
        return std::to_string(static_cast<std::int32_t>(*static_cast<const TColor*>(s.Live)));
    case skLocaleReal:
        return LocaleFloatText(*static_cast<const double*>(s.Live));
    }
    return {};
}

} // namespace

bool LoadSettings(TEngine& engine, const std::filesystem::path& path) {
    const TIniFile ini = TIniFile::Load(path);
    for (const TSetting& s : SettingsTable(engine))
        ReadSetting(s, ini.Read(s.Section, s.Key));
    SetScreenUpdateInterval(engine, engine.Graph.Options.ScreenUpdateInterval);
    if (ini.ReadError().empty())
        return true;
    if (engine.ShowMessage)
        engine.ShowMessage("Не вдалося прочитати файл параметрів «" + path.string() +
                           "»: " + ini.ReadError() + ". Використано типові параметри.");
    return false;
}

void SaveSettings(TEngine& engine, const std::filesystem::path& path) {
    TIniFile ini = TIniFile::Load(path);
    // Writing over a file that could not be read would throw away whatever else it holds.
    if (!ini.ReadError().empty())
        throw TEngineError("Не вдалося зберегти параметри у файл «" + path.string() +
                           "»: його не вдалося прочитати (" + ini.ReadError() + ")");
    for (const TSetting& s : SettingsTable(engine))
        ini.Write(s.Section, s.Key, SettingText(s));
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    ReplaceFile(path, ini.Text());
}

void ResetSettings(TEngine& engine) {
    const std::int32_t mark = engine.BaseVertexMark;
    const double delay = engine.BaseTransitionDelay;
    for (const TSetting& s : SettingsTable(engine))
        CopyDefault(s);
    engine.BaseVertexMark = mark;
    engine.BaseTransitionDelay = delay;
    SetScreenUpdateInterval(engine, engine.Graph.Options.ScreenUpdateInterval);
}

void ApplyColors(TEngine& engine) {
    const TEngineGraphOptions& o = engine.Graph.Options;
    for (auto& v : engine.Net.Vertices) {
        const bool chosen = ContainsObject(engine.Choiced, v.get());
        v->LineColor = v->LineColorFrom = chosen ? o.VertexChoiceColor : o.VertexAmbientColor;
        v->FillColor = v->FillColorFrom = chosen ? o.VertexChoiceColor1 : o.VertexAmbientColor1;
    }
    for (auto& t : engine.Net.Transitions)
        t->Color = t->FadeFromColor = ContainsObject(engine.Choiced, t.get())
                                          ? o.TransitionChoiceColor
                                          : o.TransitionAmbientColor;
    for (auto& c : engine.Net.Connections)
        c->Color = c->FadeFromColor = ContainsObject(engine.Choiced, c.get())
                                          ? o.ConnectionChoiceColor
                                          : o.ConnectionAmbientColor;
}

void LoadBaseSettings(TEngine& engine) {
    ResetSettings(engine);
    engine.Chart.ChartBackColor = MakeColor(180, 180, 180);
    engine.Chart.ChartAxisColor = MakeColor(150, 150, 150);
    ApplyColors(engine);
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder) {
    std::error_code ignored;
    const bool installed =
        std::filesystem::is_directory(programFolder / ".." / "share" / "kvl-editor", ignored);
    if (!installed && access(programFolder.c_str(), W_OK) == 0)
        return programFolder / "KVLConfig.ini";
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        config = std::filesystem::path(home) / ".config";
    else
        return programFolder / "KVLConfig.ini";
    return config / "kvl-editor" / "KVLConfig.ini";
}
