#include "FormTransitionProperties.h"

#include "DelayLawNames.h"
#include "DialogControls.h"
#include "EditHistory.h"
#include "Engine.h"
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

TFormTransitionProperties::TFormTransitionProperties(TEngine& engine, TEditHistory& history,
                                                     QWidget* parent)
    : TPropertyDialog(engine, history, "FormTransitionProperties", "Параметри переходу", parent) {
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
    Shown = StoredCopy(*t);
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
    TTransition edited = Shown;
    edited.Name = EditText(EditName);
    edited.IsMonitoring = CBoxMonitoring->isChecked();
    // A text that names no law leaves the law as it was.
    for (int type = dtDefault; type <= dtExponential; ++type)
        if (CBoxDelayType_->currentText() == QString::fromUtf8(kDelayTypeTexts[type]))
            edited.DelayType = static_cast<TDelayType>(type);
    edited.Delay = EditReal(EditDelay);
    edited.Deviation = EditReal(EditDeviation);
    edited.Priority = EditInteger(EditPriority);
    edited.Weight = EditReal(EditWeight);
    edited.Width = EditInteger(EditWidth);
    edited.Height = EditInteger(EditHeight);
    edited.NameFontSize = EditInteger(EditNameFont);
    edited.DelayFontSize = EditInteger(EditDelayFont);
    if (!IsNameFree(Engine.Net, t, edited.Name)) {
        ShowMessageBox(this, NameTakenMessage(EditName->text()));
        return false;
    }
    History.Make("Зміна властивостей переходу", [&](TNetJournal& j) {
        j.SetFields(Engine, *t, edited, ChangedFields(Shown, edited));
    });
    emit MonitorListChanged();
    return true;
}
