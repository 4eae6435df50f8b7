#include "FormConnectionProperties.h"

#include "DialogControls.h"
#include "EditHistory.h"
#include "Engine.h"
#include "Picking.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>

TFormConnectionProperties::TFormConnectionProperties(TEngine& engine, TEditHistory& history,
                                                     QWidget* parent)
    : TPropertyDialog(engine, history, "FormConnectionProperties", "Параметри зв'язку", parent) {
    QFormLayout* main = AddGroup("Основні параметри");
    EditCount = AddEdit(main, "EditCount", "Кількість зв'язків");
    CBoxInform_ = AddCheck(main, "CBoxInform", "Інформаційний зв'язок");
    CBoxUseFunction_ = AddCheck(main, "CBoxUseFunction", "Використовувати формулу");
    EditFormula = AddEdit(main, "EditFormula", "Формула кількості зв'язків");
    connect(CBoxUseFunction_, &QCheckBox::toggled, this, [this] { SyncFormula(); });
    QFormLayout* look = AddGroup("Параметри візуалізації");
    EditWidth = AddUpDown(look, "EditWidth", "Товщина лінії", 2000);
    EditWidth1 = AddUpDown(look, "EditWidth1", "Товщтна лінії парметру", 2000);
    EditHeight1 = AddUpDown(look, "EditHeight1", "Висота лінії параметру", 20000);
    EditFont = AddUpDown(look, "EditFont", "Шрифт", 20000);
}

void TFormConnectionProperties::SyncFormula() {
    const bool formula = CBoxUseFunction_->isChecked();
    EditCount->setEnabled(!formula);
    EditFormula->setEnabled(formula);
    for (auto [field, enabled] : {std::pair{EditCount, !formula}, std::pair{EditFormula, formula}})
        if (QLabel* label = LabelOf(field))
            label->setEnabled(enabled);
}

void TFormConnectionProperties::Fill() {
    const TConnection* c = FirstChosen<TConnection>(Engine);
    if (c == nullptr)
        return;
    Shown = StoredCopy(*c);
    EditCount->setText(QString::number(c->Count));
    CBoxInform_->setChecked(c->IsInform);
    CBoxInform_->setEnabled(c->ConnectionType == ctVT);
    CBoxUseFunction_->setChecked(c->UseFunction);
    SetEditText(EditFormula, c->Formula);
    EditWidth->setText(QString::number(c->Width));
    EditWidth1->setText(QString::number(c->Width1));
    EditHeight1->setText(QString::number(c->Height1));
    EditFont->setText(QString::number(c->CountFontSize));
    SyncFormula();
}

bool TFormConnectionProperties::Commit() {
    TConnection* c = FirstChosen<TConnection>(Engine);
    if (c == nullptr)
        return false;
    TConnection edited = Shown;
    edited.IsInform = CBoxInform_->isChecked();
    edited.Width = EditInteger(EditWidth);
    edited.Width1 = EditInteger(EditWidth1);
    edited.Height1 = EditInteger(EditHeight1);
    edited.CountFontSize = EditInteger(EditFont);
    edited.UseFunction = CBoxUseFunction_->isChecked();
    edited.Count = EditInteger(EditCount);
    edited.Formula = EditText(EditFormula);
    History.Make("Зміна властивостей зв'язку", [&](TNetJournal& j) {
        j.SetFields(Engine, *c, edited, ChangedFields(Shown, edited));
    });
    return true;
}
