// "Параметри вершини": the name, marking, monitoring and sizes of the chosen vertex.
#pragma once

#include "PropertyDialog.h"

class TFormVertexProperties : public TPropertyDialog {
    Q_OBJECT
public:
    explicit TFormVertexProperties(TEngine& engine, QWidget* parent = nullptr);

protected:
    void Fill() override;
    bool Commit() override;

private:
    QLineEdit* EditName;
    QLineEdit* EditMarking;
    QCheckBox* CBoxMonitoring;
    TUpDownEdit* EditRadius;
    TUpDownEdit* EditLineWidth;
    TUpDownEdit* EditNameFont;
    TUpDownEdit* EditMarkFont;
};
