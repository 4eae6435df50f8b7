// "Параметри зв'язку": the count or formula, the informational flag and the sizes of the chosen
// connection.
#pragma once

#include "NetRecords.h"
#include "PropertyDialog.h"

class TFormConnectionProperties : public TPropertyDialog {
    Q_OBJECT
public:
    TFormConnectionProperties(TEngine& engine, TEditHistory& history, QWidget* parent = nullptr);
    QCheckBox* CBoxInform() const { return CBoxInform_; }
    QCheckBox* CBoxUseFunction() const { return CBoxUseFunction_; }
    QLineEdit* CountEdit() const { return EditCount; }
    QLineEdit* FormulaEdit() const { return EditFormula; }

protected:
    void Fill() override;
    bool Commit() override;

private:
    // The stored values of the object as the dialog showed them; OK writes only what differs.
    TConnection Shown;
    void SyncFormula();

    QLineEdit* EditCount;
    QCheckBox* CBoxInform_;
    QCheckBox* CBoxUseFunction_;
    QLineEdit* EditFormula;
    TUpDownEdit* EditWidth;
    TUpDownEdit* EditWidth1;
    TUpDownEdit* EditHeight1;
    TUpDownEdit* EditFont;
};
