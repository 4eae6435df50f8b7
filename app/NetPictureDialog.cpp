#include "NetPictureDialog.h"

#include "DialogControls.h"
#include "NumberText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

std::optional<double> ParsePictureScale(const QString& text) {
    QString number = text.trimmed();
    // The letter after the number may be typed in either alphabet.
    for (const QString& times :
         {QString("x"), QString("X"), QString("х"), QString("Х"), QString("×")})
        if (number.endsWith(times)) {
            number.chop(times.size());
            break;
        }
    number.replace(',', '.');
    const std::optional<double> scale = TryTextToFloat(number.trimmed().toStdString());
    if (!scale || !(*scale >= kMinPictureScale && *scale <= kMaxPictureScale))
        return std::nullopt;
    return scale;
}

TNetPictureDialog::TNetPictureDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Рисунок сітки");
    KeepAbovePanels(this);
    auto* layout = new QVBoxLayout(this);

    auto* extent = new QGroupBox("Що показати", this);
    auto* extentLayout = new QVBoxLayout(extent);
    WholeNet_ = new QRadioButton("Уся сітка", extent);
    WholeNet_->setObjectName("WholeNet");
    WholeNet_->setChecked(true);
    VisiblePart_ = new QRadioButton("Видима частина", extent);
    VisiblePart_->setObjectName("VisiblePart");
    extentLayout->addWidget(WholeNet_);
    extentLayout->addWidget(VisiblePart_);
    layout->addWidget(extent);

    auto* form = new QFormLayout;
    Scale_ = new QComboBox(this);
    Scale_->setObjectName("Scale");
    Scale_->setEditable(true);
    Scale_->addItems({"1x", "2x", "3x", "4x"});
    Scale_->setToolTip("Скільки пікселів PNG припадає на піксель екрана: 1x, 2x, 3x, 4x або "
                       "число від 0,1 до 10. SVG і PDF масштабуються без втрат.");
    form->addRow("Масштаб (для PNG):", Scale_);
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("ButtonOk");
    ok->setDefault(true);
    buttons->addButton("Скасувати", QDialogButtonBox::RejectRole)->setObjectName("ButtonCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<TNetPictureChoice> TNetPictureDialog::Choice() const {
    const std::optional<double> scale = ParsePictureScale(Scale_->currentText());
    if (!scale)
        return std::nullopt;
    return TNetPictureChoice{
        VisiblePart_->isChecked() ? TPictureExtent::VisiblePart : TPictureExtent::WholeNet, *scale};
}

void TNetPictureDialog::accept() {
    if (!Choice()) {
        ShowMessageBox(this, "Масштаб має бути числом від 0,1 до 10, наприклад 2x або 1,5.");
        Scale_->setFocus();
        return;
    }
    QDialog::accept();
}

std::function<std::optional<TNetPictureChoice>(QWidget*)> AskNetPictureChoice =
    [](QWidget* parent) -> std::optional<TNetPictureChoice> {
    TNetPictureDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
};
