// The experiment window and the exports of its results.
#include "FormExperiment.h"
#include "FormMain.h"
#include "FormModeling.h"

#include "DialogControls.h"
#include "Engine.h"
#include "ExportFile.h"
#include "NumberText.h"
#include "StudyResultsView.h"

#include <QFileInfo>
#include <QLineEdit>

namespace {

constexpr const char* kNoResults =
    "Немає результатів експерименту: спершу запустіть експеримент у вікні «Експеримент».";

} // namespace

void ExportStudyTable(QWidget* parent, const TStudyResultsView& view) {
    if (!view.HasResults()) {
        ShowMessageBox(parent, QString::fromUtf8(kNoResults));
        return;
    }
    const QString chosen = ChooseExportFile(parent, "Зберегти таблицю експерименту",
                                            "Таблиця CSV (*.csv)", "experiment.csv");
    if (chosen.isEmpty())
        return;
    WriteExportFile(parent, WithDefaultExtension(chosen, "csv"), view.TableCsv());
}

void ExportStudyPlot(QWidget* parent, const TStudyResultsView& view) {
    if (!view.HasResults()) {
        ShowMessageBox(parent, QString::fromUtf8(kNoResults));
        return;
    }
    if (!view.HasPlot()) {
        ShowMessageBox(parent, "Графік будується лише для експерименту зі зміною параметра: "
                               "увімкніть «Змінювати параметр» і запустіть експеримент знову.");
        return;
    }
    const QString chosen =
        ChooseExportFile(parent, "Зберегти графік експерименту",
                         "Рисунок PNG (*.png);;Рисунок SVG (*.svg)", "experiment.png");
    if (chosen.isEmpty())
        return;
    const QString path = WithDefaultExtension(chosen, "png");
    const bool svg = QFileInfo(path).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    WriteExportFile(parent, path, svg ? view.PlotSvg() : view.PlotPng());
}

void TFormMain::ButtonExperimentClick() {
    FormExperiment_->Open(FormModeling_->LEditInterval()->text(),
                          QString::fromStdString(FloatToText("", Engine.WarmUpInterval)));
}

void TFormMain::ButtonExportStudyTableClick() {
    ExportStudyTable(this, *FormExperiment_->ResultsView());
}

void TFormMain::ButtonExportStudyPlotClick() {
    ExportStudyPlot(this, *FormExperiment_->ResultsView());
}
