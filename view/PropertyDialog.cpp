#include "PropertyDialog.h"

#include "DialogControls.h"
#include "EngineError.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPropertyDialog::TPropertyDialog(TEngine& engine, TEditHistory& history, const char* objectName,
                                 const char* caption, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), Engine(engine), History(history) {
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    Groups = new QVBoxLayout;
    layout->addLayout(Groups);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ButtonOk_ = new QPushButton("OK", this);
    ButtonOk_->setObjectName("ButtonOk");
    ButtonOk_->setDefault(true);
    ButtonCancel_ = new QPushButton("Відмінити", this);
    ButtonCancel_->setObjectName("ButtonCancel");
    buttons->addWidget(ButtonOk_);
    buttons->addWidget(ButtonCancel_);
    layout->addLayout(buttons);
    connect(ButtonOk_, &QPushButton::clicked, this, &TPropertyDialog::ButtonOkClick);
    connect(ButtonCancel_, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(248);
}

QFormLayout* TPropertyDialog::AddGroup(const char* title) {
    auto* group = new QGroupBox(QString::fromUtf8(title), this);
    auto* form = new QFormLayout(group);
    Groups->addWidget(group);
    return form;
}

QLineEdit* TPropertyDialog::AddEdit(QFormLayout* group, const char* name, const char* label) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    group->addRow(QString::fromUtf8(label), edit);
    return edit;
}

TUpDownEdit* TPropertyDialog::AddUpDown(QFormLayout* group, const char* name, const char* label,
                                        int maximum) {
    auto* edit = new TUpDownEdit(maximum, this);
    edit->setObjectName(name);
    group->addRow(QString::fromUtf8(label), edit->Row());
    return edit;
}

QCheckBox* TPropertyDialog::AddCheck(QFormLayout* group, const char* name, const char* text) {
    auto* box = new QCheckBox(QString::fromUtf8(text), this);
    box->setObjectName(name);
    group->addRow(box);
    return box;
}

QLabel* TPropertyDialog::LabelOf(QWidget* field) const {
    for (auto* form : findChildren<QFormLayout*>())
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(field)))
            return label;
    return nullptr;
}

void TPropertyDialog::showEvent(QShowEvent* event) {
    Fill();
    QDialog::showEvent(event);
}

void TPropertyDialog::ButtonOkClick() {
    try {
        if (Commit())
            accept();
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
    }
}

QString NameTakenMessage(const QString& name) {
    return "Обєкт з іменем \"" + name + "\" вже існує. Задайте інше імя";
}
