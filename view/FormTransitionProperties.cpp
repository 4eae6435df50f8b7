#include "FormTransitionProperties.h"

#include "DelayLawNames.h"
#include "DialogControls.h"
#include "Engine.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "NumberText.h"
#include "Picking.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>

namespace {

QString Real(double value) {
    return QString::fromStdString(FloatToText("", value));
}

// The delay-law list. Enter in its edit confirms the typed text (choosing the law it names) and
// goes no further, so that it does not press the dialog's default button.
class TDelayTypeBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        QComboBox::keyPressEvent(event);
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            event->accept();
    }
};

} // namespace

TFormTransitionProperties::TFormTransitionProperties(TEngine& engine, QWidget* parent)
    : TPropertyDialog(engine, "FormTransitionProperties", "Параметри переходу", parent) {
    QFormLayout* main = AddGroup("Основні параметри");
    EditName = AddEdit(main, "EditName", "Ім'я");
    CBoxMonitoring = AddCheck(main, "CBoxMonitoring", "Вести моніторинг переходу");
    QFormLayout* delay = AddGroup("Часова затримка");
    CBoxDelayType_ = new TDelayTypeBox(this);
    CBoxDelayType_->setObjectName("CBoxDelayType");
    CBoxDelayType_->setEditable(true);
    // The list holds the four laws only; typed text stays in the edit.
    CBoxDelayType_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* text : kDelayTypeTexts)
        CBoxDelayType_->addItem(QString::fromUtf8(text));
    delay->addRow("Тип затримки", CBoxDelayType_);
    EditDelay = AddEdit(delay, "EditDelay", "Час затримки");
    EditDeviation = AddEdit(delay, "EditDeviation", "Відхилення (+.-)");
    connect(CBoxDelayType_, &QComboBox::currentTextChanged, this, [this] { SyncDeviation(); });
    QFormLayout* priority = AddGroup("Пріоритет переходу");
    EditPriority = AddUpDown(priority, "EditPriority", "Пріоритет", 1000);
    EditWeight = AddEdit(priority, "EditWeight", "Вага");
    QFormLayout* look = AddGroup("Параметри візуалізації");
    EditWidth = AddUpDown(look, "EditWidth", "Ширина", 2000);
    EditHeight = AddUpDown(look, "EditHeight", "Висота", 20000);
    EditNameFont = AddUpDown(look, "EditNameFont", "Шрифт імені", 20000);
    EditDelayFont = AddUpDown(look, "EditDelayFont", "Шрифт параметрів", 20000);
}

void TFormTransitionProperties::SyncDeviation() {
    const QString text = CBoxDelayType_->currentText();
    const bool enabled = text != QString::fromUtf8(kDelayTypeTexts[dtDefault]) &&
                         text != QString::fromUtf8(kDelayTypeTexts[dtExponential]);
    EditDeviation->setEnabled(enabled);
    if (QLabel* label = LabelOf(EditDeviation))
        label->setEnabled(enabled);
}

void TFormTransitionProperties::Fill() {
    const TTransition* t = FirstChosen<TTransition>(Engine);
    if (t == nullptr)
        return;
    SetEditText(EditName, t->Name);
    CBoxMonitoring->setChecked(t->IsMonitoring);
    CBoxDelayType_->setCurrentIndex(t->DelayType);
    CBoxDelayType_->setEditText(QString::fromUtf8(kDelayTypeTexts[t->DelayType]));
    EditDelay->setText(Real(t->Delay));
    EditDeviation->setText(Real(t->Deviation));
    EditPriority->setText(QString::number(t->Priority));
    EditWeight->setText(Real(t->Weight));
    EditWidth->setText(QString::number(t->Width));
    EditHeight->setText(QString::number(t->Height));
    EditNameFont->setText(QString::number(t->NameFontSize));
    EditDelayFont->setText(QString::number(t->DelayFontSize));
    SyncDeviation();
}

bool TFormTransitionProperties::Commit() {
    TTransition* t = FirstChosen<TTransition>(Engine);
    if (t == nullptr)
        return true;
    const std::string name = EditText(EditName);
    if (!IsNameFree(Engine.Net, t, name)) {
        ShowMessageBox(this, NameTakenMessage(EditName->text()));
        return false;
    }
    t->Name = name;
    if (CBoxMonitoring->isChecked())
        StartMonitoring(*t, Engine.Net.ModelTime);
    else
        StopMonitoring(*t);
    for (int type = dtDefault; type <= dtExponential; ++type)
        if (CBoxDelayType_->currentText() == QString::fromUtf8(kDelayTypeTexts[type]))
            t->DelayType = static_cast<TDelayType>(type);
    t->Delay = EditReal(EditDelay);
    t->Deviation = EditReal(EditDeviation);
    t->Priority = EditInteger(EditPriority);
    t->Weight = EditReal(EditWeight);
    t->Width = EditInteger(EditWidth);
    t->Height = EditInteger(EditHeight);
    t->NameFontSize = EditInteger(EditNameFont);
    t->DelayFontSize = EditInteger(EditDelayFont);
    emit MonitorListChanged();
    return true;
}
