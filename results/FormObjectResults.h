// "Вибраний об'єкт": a two-column table of the chosen object's parameters and results,
// refreshed by the results thread while it is shown.
#pragma once

#include "ToolWindow.h"

#include <QStringList>

class QTableWidget;
struct TEngine;

class TFormObjectResults : public TToolWindow {
    Q_OBJECT
public:
    explicit TFormObjectResults(TEngine& engine, QWidget* parent = nullptr);
    QTableWidget* Grid() const { return Grid_; }
    void FillObjectResults();

signals:
    // A click on the table: the chosen object's property dialog.
    void PropertiesRequested();

private:
    TEngine& Engine;
    QTableWidget* Grid_;
    QStringList ShownLabels; // the labels of the last fill
};
