// "Файл" -> "Імпорт PNML…" and "Експорт PNML…": nets exchanged with other Petri-net tools.
#include "FormMain.h"

#include "ChartExport.h"
#include "DialogControls.h"
#include "EditHistory.h"
#include "Engine.h"
#include "EngineError.h"
#include "ExportFile.h"
#include "PnmlExport.h"
#include "PnmlImport.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

// Model units kept free around an imported net that is zoomed out to fit the window.
constexpr double kFitMargin = 600;

// Puts the middle of the net's objects in the middle of the window, and zooms out (never in)
// as far as it takes to show all of them: an imported net may lie far from the point the window
// showed, and may be larger than the window.
void CenterViewOnNet(TEngine& engine) {
    const TEngineNet& net = engine.Net;
    if (net.Vertices.empty() && net.Transitions.empty())
        return;
    std::int64_t left = std::numeric_limits<std::int32_t>::max();
    std::int64_t top = left;
    std::int64_t right = std::numeric_limits<std::int32_t>::min();
    std::int64_t bottom = right;
    auto include = [&](std::int32_t x, std::int32_t y) {
        left = std::min<std::int64_t>(left, x);
        right = std::max<std::int64_t>(right, x);
        top = std::min<std::int64_t>(top, y);
        bottom = std::max<std::int64_t>(bottom, y);
    };
    for (const auto& vertex : net.Vertices)
        include(vertex->X, vertex->Y);
    for (const auto& transition : net.Transitions)
        include(transition->X, transition->Y);
    TEngineGraph& g = engine.Graph;
    g.CenterX = static_cast<std::int32_t>((left + right) / 2);
    g.CenterY = static_cast<std::int32_t>((top + bottom) / 2);
    if (g.ScreenWidth <= 0 || g.ScreenHeight <= 0)
        return;
    const double fit =
        std::min(g.ScreenWidth / (static_cast<double>(right - left) + 2 * kFitMargin),
                 g.ScreenHeight / (static_cast<double>(bottom - top) + 2 * kFitMargin));
    g.Scale = std::clamp(std::min(g.Scale, fit), g.Options.MinScale, g.Options.MaxScale);
}

} // namespace

// Replaces the net as opening a file does, after the same question about unsaved changes; the
// imported net has no file yet and counts as unsaved. A file that cannot be read leaves the net
// as it was.
void TFormMain::ButtonImportPnmlClick() {
    if (!MaybeSaveChanges())
        return;
    ButtonStopClick();
    const QString chosen = ChooseFileToImport();
    if (chosen.isEmpty())
        return;
    ImportChosenPnml(chosen.toStdString());
}

void TFormMain::ImportChosenPnml(const std::filesystem::path& path) {
    ButtonStopClick();
    std::string notes;
    try {
        notes = ImportPnml(Engine, path);
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return;
    }
    History_->Forget();
    History_->MarkUnsaved();
    CenterViewOnNet(Engine);
    ShowZoomText();
    WakeDisplays();
    UpdateDrawCaption();
    FillMonitorTree();
    if (!notes.empty())
        ShowMessageBox(this, QString::fromStdString(notes));
}

void TFormMain::ButtonExportPnmlClick() {
    const std::string netName =
        Engine.FileName.empty() ? std::string("Сітка") : Engine.FileName.stem().string();
    const std::string text = PnmlText(Engine.Net, netName);
    const QString chosen = ChooseExportFile(this, "Експорт PNML", "Документ PNML (*.pnml)",
                                            ExportNameBesideNet(Engine, ".pnml"));
    if (chosen.isEmpty())
        return;
    WriteExportFile(this, WithDefaultExtension(chosen, "pnml"), QByteArray::fromStdString(text));
}
