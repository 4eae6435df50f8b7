// A small floating window that stays on top and tells when it is shown or hidden, so that the
// main menu's check mark follows it.
#pragma once

#include <QWidget>

class TToolWindow : public QWidget {
    Q_OBJECT
public:
    TToolWindow(const char* objectName, const char* caption, int width, int height,
                QWidget* parent);

signals:
    void VisibilityChanged(bool shown);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
