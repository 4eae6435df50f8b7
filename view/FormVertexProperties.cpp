#include "FormVertexProperties.h"

#include "DialogControls.h"
#include "Engine.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "Picking.h"

#include <QCheckBox>
#include <QFormLayout>

TFormVertexProperties::TFormVertexProperties(TEngine& engine, QWidget* parent)
    : TPropertyDialog(engine, "FormVertexProperties", "Параметри вершини", parent) {
    QFormLayout* main = AddGroup("Основні параметри");
    EditName = AddEdit(main, "EditName", "Ім'я");
    EditMarking = AddEdit(main, "EditMarking", "Маркування");
    CBoxMonitoring = AddCheck(main, "CBoxMonitoring", "Вести моніторинг вершини");
    QFormLayout* look = AddGroup("Параметри візуалізації");
    EditRadius = AddUpDown(look, "EditRadius", "Радіус", 20000);
    EditLineWidth = AddUpDown(look, "EditLineWidth", "Товщина контуру", 2000);
    EditNameFont = AddUpDown(look, "EditNameFont", "Шрифт імені", 20000);
    EditMarkFont = AddUpDown(look, "EditMarkFont", "Шрифт маркування", 20000);
}

void TFormVertexProperties::Fill() {
    const TVertex* v = FirstChosen<TVertex>(Engine);
    if (v == nullptr)
        return;
    SetEditText(EditName, v->Name);
    EditMarking->setText(QString::number(v->Marking));
    CBoxMonitoring->setChecked(v->IsMonitoring);
    EditRadius->setText(QString::number(v->Radius));
    EditLineWidth->setText(QString::number(v->LineWidth));
    EditNameFont->setText(QString::number(v->NameFontSize));
    EditMarkFont->setText(QString::number(v->MarkFontSize));
}

bool TFormVertexProperties::Commit() {
    TVertex* v = FirstChosen<TVertex>(Engine);
    if (v == nullptr)
        return true;
    const std::string name = EditText(EditName);
    if (!IsNameFree(Engine.Net, v, name)) {
        ShowMessageBox(this, NameTakenMessage(EditName->text()));
        return false;
    }
    v->Name = name;
    v->Marking = EditInteger(EditMarking);
    if (CBoxMonitoring->isChecked())
        StartMonitoring(*v, Engine.Net.ModelTime);
    else
        StopMonitoring(*v);
    v->Radius = EditInteger(EditRadius);
    v->LineWidth = EditInteger(EditLineWidth);
    v->NameFontSize = EditInteger(EditNameFont);
    v->MarkFontSize = EditInteger(EditMarkFont);
    RecordUserMarking(*v, Engine.Net.ModelTime);
    emit MonitorListChanged();
    return true;
}
