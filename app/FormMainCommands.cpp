// The file, tool, simulation and settings commands of the main window.
#include "FormMain.h"

#include "Engine.h"
#include "EngineError.h"
#include "FormDraw.h"
#include "FormModeling.h"
#include "Formula.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "Picking.h"
#include "RunControl.h"
#include "Settings.h"

#include <QAction>
#include <QLineEdit>

#include <algorithm>

void TFormMain::LoadFile(const std::filesystem::path& path) {
    try {
        LoadNet(Engine, path);
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
    }
}

bool TFormMain::SaveFile(const std::filesystem::path& path) {
    try {
        SaveNet(Engine, path);
        return true;
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return false;
    }
}

void TFormMain::ButtonNewProjectClick() {
    ButtonStopClick();
    NewNet(Engine);
    UpdateDrawCaption();
    FillMonitorTree();
}

void TFormMain::ButtonOpenProjectClick() {
    ButtonStopClick();
    const QString chosen = ChooseFileToOpen();
    if (chosen.isEmpty())
        return;
    LoadFile(chosen.toStdString());
    UpdateDrawCaption();
    FillMonitorTree();
}

void TFormMain::ButtonReloadProjectClick() {
    ButtonStopClick();
    if (Engine.FileName.empty()) {
        ShowMessageBox(this, "Неможливо відкрити файл: новий проект ще не був збережений.");
        return;
    }
    LoadFile(Engine.FileName);
    FillMonitorTree();
}

void TFormMain::ButtonSaveProjectClick() {
    if (Engine.FileName.empty()) {
        ButtonSaveProjectAsClick();
        return;
    }
    if (SaveFile(Engine.FileName))
        UpdateDrawCaption();
}

void TFormMain::ButtonSaveProjectAsClick() {
    const QString chosen = ChooseFileToSave();
    if (chosen.isEmpty())
        return;
    if (SaveFile(chosen.toStdString()))
        UpdateDrawCaption();
}

void TFormMain::ButtonConnectionToolClick(bool informational) {
    if (const auto refusal = ConnectionToolRefusal(Engine, informational)) {
        ShowMessageBox(this, QString::fromStdString(*refusal));
        SetTool(emIdle);
        return;
    }
    Engine.EditMode = informational ? emCreateInformConnection : emCreateConnection;
}

void TFormMain::ButtonClearNetClick() {
    ClearNet(Engine.Net, &Engine);
    FillMonitorTree();
}

bool TFormMain::CheckFormulasForStart() {
    const TFormulaCheck check = CheckFormulas(Engine.Net);
    if (check.Valid)
        return true;
    ShowMessageBox(this, QString::fromStdString(
                             FormulaRefusalMessage(*Engine.Net.Connections[check.Position])));
    return false;
}

void TFormMain::ButtonRealTimeClick() {
    if (!CheckFormulasForStart())
        return;
    if (Engine.RunMode == rmRealTime)
        StopRun(Engine);
    else
        StartRealTime(Engine);
}

void TFormMain::ButtonStopClick() {
    if (Engine.RunMode != rmStopped)
        StopRun(Engine);
}

void TFormMain::ButtonIntervalClick() {
    if (!CheckFormulasForStart())
        return;
    QLineEdit* edit = FormModeling_->LEditInterval();
    if (edit->text().isEmpty())
        return;
    double length = 0;
    try {
        length = std::max(0.0, TextToFloat(edit->text().toStdString()));
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return;
    }
    edit->setText(QString::fromStdString(FloatToText("", length)));
    RunInterval(Engine, length);
}

void TFormMain::ButtonClearRunHistoryClick() {
    ClearRunHistory(Engine);
}

void TFormMain::ButtonLoadBaseSettingsClick() {
    LoadBaseSettings(Engine);
    SyncCheckMarks();
}
