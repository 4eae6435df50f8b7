#include "FormConnectionProperties.h"

#include "DialogControls.h"
#include "Engine.h"
#include "Picking.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>

TFormConnectionProperties::TFormConnectionProperties(TEngine& engine, QWidget* parent)
    : TPropertyDialog(engine, "FormConnectionProperties", "Параметри зв'язку", parent) {
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
    c->IsInform = CBoxInform_->isChecked();
    c->Width = EditInteger(EditWidth);
    c->Width1 = EditInteger(EditWidth1);
    c->Height1 = EditInteger(EditHeight1);
    c->CountFontSize = EditInteger(EditFont);
    c->UseFunction = CBoxUseFunction_->isChecked();
    c->Count = EditInteger(EditCount);
    c->Formula = EditText(EditFormula);
    return true;
}
