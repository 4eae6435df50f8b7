// The file, tool, simulation and settings commands of the main window.
#include "FormMain.h"

#include "EditHistory.h"
#include "Engine.h"
#include "EngineError.h"
#include "FormDraw.h"
#include "FormExperiment.h"
#include "FormModeling.h"
#include "Formula.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "Picking.h"
#include "PnmlImport.h"
#include "Recovery.h"
#include "RunControl.h"
#include "Settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>

bool TFormMain::LoadFile(const std::filesystem::path& path) {
    try {
        LoadNet(Engine, path);
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return false;
    }
    History_->Forget();
    WakeDisplays();
    return true;
}

bool TFormMain::SaveFile(const std::filesystem::path& path) {
    try {
        SaveNet(Engine, path);
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return false;
    }
    History_->MarkSaved();
    return true;
}

bool TFormMain::MaybeSaveChanges() {
    if (!History_->IsModified())
        return true;
    const QString name = Engine.FileName.empty()
                             ? QString("Новий файл")
                             : QString::fromStdString(Engine.FileName.filename().string());
    switch (AskToSave(name)) {
    case TSaveAnswer::Save:
        ButtonSaveProjectClick();
        return !History_->IsModified();
    case TSaveAnswer::Discard:
        return true;
    case TSaveAnswer::Cancel:
        break;
    }
    return false;
}

void TFormMain::ButtonNewProjectClick() {
    if (!MaybeSaveChanges())
        return;
    ButtonStopClick();
    NewNet(Engine);
    History_->Forget();
    UpdateDrawCaption();
    FillMonitorTree();
}

void TFormMain::ButtonOpenProjectClick() {
    if (!MaybeSaveChanges())
        return;
    ButtonStopClick();
    const QString chosen = ChooseFileToOpen();
    if (chosen.isEmpty())
        return;
    OpenChosenFile(chosen.toStdString());
}

void TFormMain::OpenProjectFile(const QString& path) {
    if (!MaybeSaveChanges())
        return;
    OpenChosenFile(path.toStdString());
}

void TFormMain::OpenChosenFile(const std::filesystem::path& path) {
    // A PNML document chosen to open (or given on the command line) is imported.
    if (IsPnmlPath(path)) {
        ImportChosenPnml(path);
        return;
    }
    ButtonStopClick();
    if (LoadFile(path))
        RememberFile(Engine.FileName);
    UpdateDrawCaption();
    FillMonitorTree();
}

void TFormMain::ButtonReloadProjectClick() {
    if (Engine.FileName.empty()) {
        ButtonStopClick();
        ShowMessageBox(this, "Неможливо відкрити файл: новий проект ще не був збережений.");
        return;
    }
    if (!MaybeSaveChanges())
        return;
    ButtonStopClick();
    LoadFile(Engine.FileName);
    UpdateDrawCaption();
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
    if (!SaveFile(chosen.toStdString()))
        return;
    UpdateDrawCaption();
    RememberFile(Engine.FileName);
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (MaybeSaveChanges()) {
        // A study under way ends with the editor.
        FormExperiment_->ButtonCancelClick();
        event->accept();
    } else {
        event->ignore();
    }
}

// A drag under way becomes a step of its own first, so undo takes back the drag.
void TFormMain::ButtonUndoClick() {
    History_->Undo();
}

void TFormMain::ButtonRedoClick() {
    History_->Redo();
}

void TFormMain::WriteRecovery() {
    if (!History_->IsModified()) {
        Recovery_->Remove();
        RecoveryWrittenAt = ~std::uint64_t{0};
    } else if (RecoveryWrittenAt != History_->ChangeCount()) {
        Recovery_->Write(Engine);
        RecoveryWrittenAt = History_->ChangeCount();
    }
}

void TFormMain::OfferRecovery() {
    RecoveryTimer->start();
    if (!Recovery_->IsLeft())
        return;
    if (!AskToRecover()) {
        Recovery_->Discard();
        return;
    }
    try {
        Recovery_->Restore(Engine);
    } catch (const TEngineError& error) {
        const std::filesystem::path aside = Recovery_->SetAside();
        ShowMessageBox(this, QString::fromStdString(error.what()) +
                                 "\nКопію сітки збережено у файлі " +
                                 QString::fromStdString(aside.string()) + ".");
        return;
    }
    History_->Forget();
    // The restored net is not what its file holds until the user saves it.
    History_->MarkUnsaved();
    UpdateDrawCaption();
    FillMonitorTree();
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
    // A run cannot go on over the net it was started on once that net is gone.
    ButtonStopClick();
    History_->Make("Очищення сітки", [this](TNetJournal& j) { j.ClearNet(Engine); });
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
    WakeDisplays();
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
    WakeDisplays();
}

void TFormMain::ButtonClearRunHistoryClick() {
    ClearRunHistory(Engine);
}

void TFormMain::ButtonLoadBaseSettingsClick() {
    LoadBaseSettings(Engine);
    SyncCheckMarks();
}
