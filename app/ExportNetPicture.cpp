// "Файл" -> "Експорт" -> the picture of the net: the whole net or the window's view, as a PNG at
// a chosen scale, an SVG or a PDF.
#include "FormMain.h"

#include "DialogControls.h"
#include "Engine.h"
#include "ExportFile.h"
#include "FramePicture.h"
#include "NetPictureDialog.h"

#include <QFileInfo>

namespace {

const char* const kPictureFilter = "Рисунок PNG (*.png);;Рисунок SVG (*.svg);;Документ PDF (*.pdf)";

bool HasObjects(const TEngine& engine) {
    return !engine.Net.Vertices.empty() || !engine.Net.Transitions.empty() ||
           !engine.Net.Connections.empty();
}

} // namespace

void TFormMain::ButtonExportNetPictureClick() {
    if (!HasObjects(Engine)) {
        ShowMessageBox(this, "Сітка порожня: на рисунку не було б жодного об'єкта.");
        return;
    }
    const std::optional<TNetPictureChoice> choice = AskNetPictureChoice(this);
    if (!choice)
        return;
    const QString netName =
        Engine.FileName.empty()
            ? QString("сітка")
            : QFileInfo(QString::fromStdString(Engine.FileName.string())).completeBaseName();
    QString path = ChooseExportFile(this, "Рисунок сітки", kPictureFilter, netName + ".png");
    if (path.isEmpty())
        return;
    // The save dialog does not tell which filter was chosen; a bare name becomes a PNG.
    path = WithDefaultExtension(path, "png");
    const std::optional<TPictureView> view = PictureView(Engine, choice->Extent);
    if (!view)
        return;
    const TPictureFormat format = PictureFormatOf(path);
    if (format == TPictureFormat::Png && !IsPictureSizeAllowed(*view, choice->PngScale)) {
        ShowMessageBox(this, QString("Рисунок завеликий: %1×%2 пікселів. Зменште масштаб.")
                                 .arg(qRound(view->Width * choice->PngScale))
                                 .arg(qRound(view->Height * choice->PngScale)));
        return;
    }
    WriteExportFile(this, path, PictureBytes(Engine, *view, format, choice->PngScale, netName));
}
