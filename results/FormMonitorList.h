// "Список об'єктів сітки": a tree of the net's vertices and transitions, by default only the
// monitored ones. Selecting a node chooses its object; the context menu stops monitoring.
#pragma once

#include "ToolWindow.h"

class QCheckBox;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class TEditHistory;
struct TEngine;

class TFormMonitorList : public TToolWindow {
    Q_OBJECT
public:
    TFormMonitorList(TEngine& engine, TEditHistory& history, QWidget* parent = nullptr);
    QTreeWidget* Tree() const { return Tree_; }
    QCheckBox* CBoxMonitoredOnly() const { return CBoxMonitoredOnly_; }
    QMenu* PopupTree() const { return PopupTree_; }

    void FillMonitorTree();
    void RemoveFromMonitoringClick();
    void ClearMonitoringClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SelectionChanged();

    TEngine& Engine;
    TEditHistory& History;
    QCheckBox* CBoxMonitoredOnly_;
    QTreeWidget* Tree_;
    QMenu* PopupTree_;
    QTreeWidgetItem* VertexGroup = nullptr;
    QTreeWidgetItem* TransitionGroup = nullptr;
    bool Filling = false;
};
