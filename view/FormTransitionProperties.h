// "Параметри переходу": the name, monitoring, delay law, priority, weight and sizes of the
// chosen transition.
#pragma once

#include "NetRecords.h"
#include "PropertyDialog.h"

class QComboBox;

class TFormTransitionProperties : public TPropertyDialog {
    Q_OBJECT
public:
    TFormTransitionProperties(TEngine& engine, TEditHistory& history, QWidget* parent = nullptr);
    QComboBox* CBoxDelayType() const { return CBoxDelayType_; }
    QLineEdit* DeviationEdit() const { return EditDeviation; }

protected:
    void Fill() override;
    bool Commit() override;

private:
    // The stored values of the object as the dialog showed them; OK writes only what differs.
    TTransition Shown;
    void SyncDeviation();

    QLineEdit* EditName;
    QCheckBox* CBoxMonitoring;
    QComboBox* CBoxDelayType_;
    QLineEdit* EditDelay;
    QLineEdit* EditDeviation;
    TUpDownEdit* EditPriority;
    QLineEdit* EditWeight;
    TUpDownEdit* EditWidth;
    TUpDownEdit* EditHeight;
    TUpDownEdit* EditNameFont;
    TUpDownEdit* EditDelayFont;
};
