// The experiment window and the exports of its results.
#include "FormMain.h"

void TFormMain::ButtonExperimentClick() {}
void TFormMain::ButtonExportStudyTableClick() {}
void TFormMain::ButtonExportStudyPlotClick() {}
