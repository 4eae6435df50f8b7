// The experiment window and the exports of its results.
#include "FormExperiment.h"
#include "FormMain.h"
#include "FormModeling.h"

#include "ChartExport.h"
#include "DialogControls.h"
#include "Engine.h"
#include "ExportFile.h"
#include "FramePicture.h"
#include "NumberText.h"
#include "StudyResultsView.h"

#include <QLineEdit>

namespace {

constexpr const char* kNoResults =
    "Немає результатів експерименту: спершу запустіть експеримент у вікні «Експеримент».";

} // namespace

void ExportStudyTable(QWidget* parent, const TStudyResultsView& view, const QString& suggested) {
    if (!view.HasResults()) {
        ShowMessageBox(parent, QString::fromUtf8(kNoResults));
        return;
    }
    const QString chosen =
        ChooseExportFile(parent, "Зберегти таблицю експерименту", "Таблиця CSV (*.csv)", suggested);
    if (chosen.isEmpty())
        return;
    WriteExportFile(parent, WithDefaultExtension(chosen, "csv"), view.TableCsv());
}

void ExportStudyPlot(QWidget* parent, const TStudyResultsView& view, const QString& suggested) {
    if (!view.HasResults()) {
        ShowMessageBox(parent, QString::fromUtf8(kNoResults));
        return;
    }
    if (!view.HasPlot()) {
        ShowMessageBox(parent, "Графік будується лише для експерименту зі зміною параметра: "
                               "увімкніть «Змінювати параметр» і запустіть експеримент знову.");
        return;
    }
    const QString chosen = ChooseExportFile(parent, "Зберегти графік експерименту",
                                            "Рисунок PNG (*.png);;Рисунок SVG (*.svg)", suggested);
    if (chosen.isEmpty())
        return;
    const QString path = WithDefaultExtension(chosen, "png");
    const bool svg = PictureFormatOf(path) == TPictureFormat::Svg;
    WriteExportFile(parent, path, svg ? view.PlotSvg() : view.PlotPng());
}

void TFormMain::ButtonExperimentClick() {
    FormExperiment_->Open(FormModeling_->LEditInterval()->text(),
                          QString::fromStdString(FloatToText("", Engine.WarmUpInterval)));
}

void TFormMain::ButtonExportStudyTableClick() {
    ExportStudyTable(this, *FormExperiment_->ResultsView(),
                     ExportNameBesideNet(Engine, "-experiment.csv"));
}

void TFormMain::ButtonExportStudyPlotClick() {
    ExportStudyPlot(this, *FormExperiment_->ResultsView(),
                    ExportNameBesideNet(Engine, "-experiment.png"));
}
