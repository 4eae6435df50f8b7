// "Параметри вершини": the name, marking, monitoring and sizes of the chosen vertex.
#pragma once

#include "NetRecords.h"
#include "PropertyDialog.h"

class TFormVertexProperties : public TPropertyDialog {
    Q_OBJECT
public:
    TFormVertexProperties(TEngine& engine, TEditHistory& history, QWidget* parent = nullptr);

protected:
    void Fill() override;
    bool Commit() override;

private:
    // The stored values of the object as the dialog showed them; OK writes only what differs.
    TVertex Shown;
    QLineEdit* EditName;
    QLineEdit* EditMarking;
    QCheckBox* CBoxMonitoring;
    TUpDownEdit* EditRadius;
    TUpDownEdit* EditLineWidth;
    TUpDownEdit* EditNameFont;
    TUpDownEdit* EditMarkFont;
};
