#include "FormVertexProperties.h"

#include "DialogControls.h"
#include "EditHistory.h"
#include "Engine.h"
#include "NetObjects.h"
#include "Picking.h"

#include <QCheckBox>
#include <QFormLayout>

TFormVertexProperties::TFormVertexProperties(TEngine& engine, TEditHistory& history,
                                             QWidget* parent)
    : TPropertyDialog(engine, history, "FormVertexProperties", "Параметри вершини", parent) {
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
    Shown = StoredCopy(*v);
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
    TVertex edited = Shown;
    edited.Name = EditText(EditName);
    edited.Marking = EditInteger(EditMarking);
    edited.IsMonitoring = CBoxMonitoring->isChecked();
    edited.Radius = EditInteger(EditRadius);
    edited.LineWidth = EditInteger(EditLineWidth);
    edited.NameFontSize = EditInteger(EditNameFont);
    edited.MarkFontSize = EditInteger(EditMarkFont);
    if (!IsNameFree(Engine.Net, v, edited.Name)) {
        ShowMessageBox(this, NameTakenMessage(EditName->text()));
        return false;
    }
    History.Make("Зміна властивостей вершини", [&](TNetJournal& j) {
        j.SetFields(Engine, *v, edited, ChangedFields(Shown, edited));
    });
    emit MonitorListChanged();
    return true;
}
