// "Файл" -> "Експорт": the results and histories of the monitored objects, and the chart window.
// Each table is taken from the engine at once, on the interface thread, before the save dialog
// opens: the worker threads hand every step over to this thread, so no step runs while a table
// is being made, and the file holds one moment of the run even if the run goes on meanwhile.
#include "FormMain.h"

#include "ChartExport.h"
#include "DialogControls.h"
#include "Engine.h"
#include "ExportFile.h"
#include "FormChart.h"
#include "HistoryCsv.h"
#include "ResultsCsv.h"

namespace {

const char* const kNoMonitored =
    "Немає об'єктів моніторингу: позначте «Вести моніторинг» у властивостях об'єкта.";

// Asks where to write the table and writes it; nothing when the user cancels.
void SaveCsv(QWidget* parent, const QString& caption, const QString& suggested,
             const std::string& csv) {
    const QString chosen = ChooseExportFile(parent, caption, "Таблиця CSV (*.csv)", suggested);
    if (chosen.isEmpty())
        return;
    WriteExportFile(parent, WithDefaultExtension(chosen, "csv"), QByteArray::fromStdString(csv));
}

} // namespace

void TFormMain::ButtonExportResultsClick() {
    if (!HasMonitoredObjects(Engine)) {
        ShowMessageBox(this, QString::fromUtf8(kNoMonitored));
        return;
    }
    // The window of the statistics is the one the results panel shows: from the warm-up
    // interval of the simulation panel to the model time.
    const std::string csv = ResultsCsv(Engine, Engine.WarmUpInterval);
    SaveCsv(this, "Експорт результатів", ExportNameBesideNet(Engine, "-results.csv"), csv);
}

void TFormMain::ButtonExportHistoriesClick() {
    if (!HasMonitoredObjects(Engine)) {
        ShowMessageBox(this, QString::fromUtf8(kNoMonitored));
        return;
    }
    const std::string csv = HistoryCsv(Engine);
    SaveCsv(this, "Експорт історій", ExportNameBesideNet(Engine, "-history.csv"), csv);
}

void TFormMain::ButtonExportChartPictureClick() {
    SaveChartPicture(this, Engine, FormChart_->ChosenNames());
}

void TFormMain::ButtonExportChartSeriesClick() {
    SaveChartSeries(this, Engine, FormChart_->ChosenNames());
}
