#include "DialogControls.h"

#include "EngineError.h"

#include "NumberText.h"
#include "TextCodec.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

TUpDownEdit::TUpDownEdit(int maximum, QWidget* parent) : QLineEdit(parent), Maximum(maximum) {
    Row_ = new QWidget(parent);
    auto* row = new QHBoxLayout(Row_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    setParent(Row_);
    row->addWidget(this);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(0);
    for (int delta : {1, -1}) {
        auto* button = new QToolButton(Row_);
        button->setArrowType(delta > 0 ? Qt::UpArrow : Qt::DownArrow);
        button->setFixedSize(16, 10);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
        buttons->addWidget(button);
    }
    row->addLayout(buttons);
}

void TUpDownEdit::Step(int delta) {
    bool ok = false;
    const int value = text().trimmed().toInt(&ok);
    setText(QString::number(std::clamp(ok ? value + delta : 0, 0, Maximum)));
}

std::string EditText(const QLineEdit* edit) {
    const QString text = edit->text();
    // A net file keeps each text on one line.
    if (text.contains('\r') || text.contains('\n'))
        throw TEngineError("Текст «" + text.left(60).toStdString() +
                           "» містить розрив рядка, а назви й формули мають бути в один рядок");
    return Utf8ToWin1251(text.toStdString());
}

void SetEditText(QLineEdit* edit, const std::string& win1251) {
    edit->setText(QString::fromStdString(Win1251ToUtf8(win1251)));
}

// Numbers are read from the edit's UTF-8 text, so that a refusal quotes what was typed.
std::int32_t EditInteger(const QLineEdit* edit) {
    return TextToInteger(edit->text().toStdString());
}

double EditReal(const QLineEdit* edit) {
    return TextToFloat(edit->text().toStdString());
}

void KeepAbovePanels(QWidget* dialog) {
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

std::function<void(QWidget*, const QString&)> ShowMessageBox = [](QWidget* parent,
                                                                  const QString& text) {
    QMessageBox box(QMessageBox::Information, parent ? parent->window()->windowTitle() : QString(),
                    text, QMessageBox::Ok, parent);
    KeepAbovePanels(&box);
    box.exec();
};
