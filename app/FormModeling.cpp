#include "FormModeling.h"

#include "Engine.h"
#include "EngineError.h"
#include "NumberText.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A labelled edit, with an apply button at its right when `apply` is given.
QLineEdit* LabelledEdit(QVBoxLayout* layout, const char* name, const char* label, const char* text,
                        QWidget* parent, std::function<void()> apply) {
    layout->addWidget(new QLabel(QString::fromUtf8(label), parent));
    auto* row = new QHBoxLayout;
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setObjectName(name);
    row->addWidget(edit);
    if (apply) {
        auto* button = new QToolButton(parent);
        button->setObjectName(QString(name).replace("LEdit", "SButton"));
        button->setText("✓");
        button->setToolTip("Встановити значення");
        QObject::connect(button, &QToolButton::clicked, parent, apply);
        QObject::connect(edit, &QLineEdit::returnPressed, parent, apply);
        row->addWidget(button);
    }
    layout->addLayout(row);
    return edit;
}

} // namespace

TFormModeling::TFormModeling(TEngine& engine, QWidget* parent)
    : TToolWindow("FormModeling", "Імітація", 185, 166, parent), Engine(engine) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(2);
    LEditWarmUp_ = LabelledEdit(layout, "LEditWarmUp", "Інтервал розгону моделі", "0.000000", this,
                                [this] { SButtonWarmUpClick(); });
    LEditTimeScale_ = LabelledEdit(layout, "LEditTimeScale", "Масштаб часу", "1.000000", this,
                                   [this] { SButtonTimeScaleClick(); });
    LEditInterval_ =
        LabelledEdit(layout, "LEditInterval", "Інтервал імітації", "1000", this, nullptr);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    layout->addWidget(line);
    CBoxConflictTransitions_ = new QCheckBox("Конфліктні переходи", this);
    CBoxConflictTransitions_->setObjectName("CBoxConflictTransitions");
    CBoxConflictTransitions_->setChecked(true);
    connect(CBoxConflictTransitions_, &QCheckBox::clicked, this,
            [this] { CBoxConflictTransitionsClick(); });
    layout->addWidget(CBoxConflictTransitions_);
    layout->addStretch();
}

void TFormModeling::SButtonWarmUpClick() {
    const QString text = LEditWarmUp_->text();
    if (!text.isEmpty()) {
        try {
            Engine.WarmUpInterval = std::max(0.0, TextToFloat(text.toStdString()));
        } catch (const TEngineError& error) {
            ShowMessageBox(this, QString::fromStdString(error.what()));
            return;
        }
    }
    LEditWarmUp_->setText(QString::fromStdString(FloatToText("0.000000", Engine.WarmUpInterval)));
}

void TFormModeling::SButtonTimeScaleClick() {
    const QString text = LEditTimeScale_->text();
    if (!text.isEmpty()) {
        try {
            Engine.TimeScale = std::clamp(TextToFloat(text.toStdString()), Engine.MinTimeScale,
                                          Engine.MaxTimeScale);
        } catch (const TEngineError& error) {
            ShowMessageBox(this, QString::fromStdString(error.what()));
            return;
        }
    }
    LEditTimeScale_->setText(QString::fromStdString(FloatToText("0.000000", Engine.TimeScale)));
}

void TFormModeling::CBoxConflictTransitionsClick() {
    Engine.ConflictCheck = CBoxConflictTransitions_->isChecked();
}
