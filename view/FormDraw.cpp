#include "FormDraw.h"

#include "Engine.h"
#include "Frame.h"
#include "FrameImage.h"

#include <QPainter>
#include <QResizeEvent>

TFormDraw::TFormDraw(TEngine& engine, QWidget* parent) : QWidget(parent), Engine(engine) {
    setObjectName("FormDraw");
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TFormDraw::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Engine.Graph.FrontImage)
        painter.drawImage(0, 0, Engine.Graph.FrontImage->Image);
}

void TFormDraw::resizeEvent(QResizeEvent* event) {
    ResizeView(Engine.Graph, event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}
