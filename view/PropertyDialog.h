// What the three object property dialogs share: a small modal tool window of groups of labelled
// controls with "OK" and "Відмінити" at the bottom. OK runs the dialog's Commit, which stops at
// the first edit that does not convert, showing the conversion message.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class TEditHistory;
class TUpDownEdit;
struct TEngine;

class TPropertyDialog : public QDialog {
    Q_OBJECT
public:
    TPropertyDialog(TEngine& engine, TEditHistory& history, const char* objectName,
                    const char* caption, QWidget* parent);
    QPushButton* ButtonOk() const { return ButtonOk_; }
    QPushButton* ButtonCancel() const { return ButtonCancel_; }

signals:
    // Names or monitoring may have changed: the monitor list is rebuilt.
    void MonitorListChanged();

protected:
    QFormLayout* AddGroup(const char* title);
    QLineEdit* AddEdit(QFormLayout* group, const char* name, const char* label);
    TUpDownEdit* AddUpDown(QFormLayout* group, const char* name, const char* label, int maximum);
    QCheckBox* AddCheck(QFormLayout* group, const char* name, const char* text);
    QLabel* LabelOf(QWidget* field) const;
    // Writes the controls to the object as one undo step; false keeps the dialog open. Every
    // edit is read before anything is written, so a field that does not convert changes nothing.
    virtual bool Commit() = 0;
    void showEvent(QShowEvent* event) override;
    virtual void Fill() = 0;

    TEngine& Engine;
    TEditHistory& History;

private:
    void ButtonOkClick();
    class QVBoxLayout* Groups;
    QPushButton* ButtonOk_;
    QPushButton* ButtonCancel_;
};

// The message that refuses a name that another vertex or transition bears.
QString NameTakenMessage(const QString& name);
