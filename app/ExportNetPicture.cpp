// "Файл" -> "Експорт" -> the picture of the net.
#include "FormMain.h"

void TFormMain::ButtonExportNetPictureClick() {}
