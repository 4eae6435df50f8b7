// The simulation panel "Імітація": the warm-up interval, the time scale of real-time runs, the
// length of interval runs and the conflict switch.
#pragma once

#include "DialogControls.h"

#include "ToolWindow.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QToolButton;
struct TEngine;

class TFormModeling : public TToolWindow {
    Q_OBJECT
public:
    explicit TFormModeling(TEngine& engine, QWidget* parent = nullptr);

    QLineEdit* LEditWarmUp() const { return LEditWarmUp_; }
    QLineEdit* LEditTimeScale() const { return LEditTimeScale_; }
    QLineEdit* LEditInterval() const { return LEditInterval_; }
    QCheckBox* CBoxConflictTransitions() const { return CBoxConflictTransitions_; }

    // Apply the edits; a text that is not a number shows the conversion message and keeps
    // everything as it was.
    void SButtonWarmUpClick();
    void SButtonTimeScaleClick();
    void CBoxConflictTransitionsClick();

private:
    TEngine& Engine;
    QLineEdit* LEditWarmUp_ = nullptr;
    QLineEdit* LEditTimeScale_ = nullptr;
    QLineEdit* LEditInterval_ = nullptr;
    QCheckBox* CBoxConflictTransitions_ = nullptr;
};
