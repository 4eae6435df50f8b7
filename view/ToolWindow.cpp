#include "ToolWindow.h"

TToolWindow::TToolWindow(const char* objectName, const char* caption, int width, int height,
                         QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    resize(width, height);
}

void TToolWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit VisibilityChanged(true);
}

void TToolWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit VisibilityChanged(false);
}
