// "Файл" -> "Експорт": the results and histories of the monitored objects, and the chart window.
#include "FormMain.h"

void TFormMain::ButtonExportResultsClick() {}
void TFormMain::ButtonExportHistoriesClick() {}
void TFormMain::ButtonExportChartPictureClick() {}
void TFormMain::ButtonExportChartSeriesClick() {}
