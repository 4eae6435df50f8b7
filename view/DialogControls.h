// The controls the property dialogs are built of: labelled edits, edits with up-down buttons,
// and reading them with the program's number rules.
#pragma once

#include <QLineEdit>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>

class QFormLayout;
class QLabel;
class QWidget;

// An edit with two small buttons that step its integer by 1 within [0, maximum]; typed text is
// not limited.
class TUpDownEdit : public QLineEdit {
    Q_OBJECT
public:
    TUpDownEdit(int maximum, QWidget* parent);
    void Step(int delta);
    QWidget* Row() const { return Row_; }

private:
    int Maximum;
    QWidget* Row_;
};

// Windows-1251 text of an edit, and back.
std::string EditText(const QLineEdit* edit);
void SetEditText(QLineEdit* edit, const std::string& win1251);

// Reads an integer or a real; throws TEngineError with the conversion message.
std::int32_t EditInteger(const QLineEdit* edit);
double EditReal(const QLineEdit* edit);

// Puts a modal dialog in the layer of the floating panels, which stay on top of other windows:
// in the normal layer, a dialog opened over a panel would stay hidden behind it, and the program
// would look frozen.
void KeepAbovePanels(QWidget* dialog);

// Shows a conversion or command message in a message box; tests replace it to read the text.
extern std::function<void(QWidget*, const QString&)> ShowMessageBox;
