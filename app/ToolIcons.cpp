#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <tuple>

namespace {

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF wing1 = line;
    wing1.setLength(5);
    wing1.setAngle(line.angle() + 25);
    QLineF wing2 = line;
    wing2.setLength(5);
    wing2.setAngle(line.angle() - 25);
    p.drawLine(wing1);
    p.drawLine(wing2);
}

} // namespace

QIcon ToolIcon(TToolGlyph glyph) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    const QColor accent(50, 110, 190);
    p.setPen(QPen(ink, 1.6));
    switch (glyph) {
    case tgNew:
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{5, 3}, {15, 3}, {19, 7}, {19, 21}, {5, 21}}));
        p.drawLine(QPointF(15, 3), QPointF(15, 7));
        p.drawLine(QPointF(15, 7), QPointF(19, 7));
        break;
    case tgOpen:
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({{3, 7}, {9, 7}, {11, 9}, {21, 9}, {21, 19}, {3, 19}}));
        break;
    case tgSave:
        p.setBrush(accent);
        p.drawRect(QRectF(4, 4, 16, 16));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 4, 10, 6));
        p.drawRect(QRectF(7, 13, 10, 7));
        break;
    case tgReload:
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 5, 14, 14), 30 * 16, 280 * 16);
        Arrow(p, {17, 4}, {18, 9});
        break;
    case tgNoTool:
        p.setBrush(Qt::white);
        p.drawPolygon(
            QPolygonF({{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}}));
        break;
    case tgVertex:
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(5, 5, 14, 14));
        break;
    case tgTransition:
        p.setBrush(ink);
        p.drawRect(QRectF(10, 3, 4, 18));
        break;
    case tgConnection:
        Arrow(p, {3, 19}, {20, 5});
        break;
    case tgInformational:
        p.setPen(QPen(ink, 1.6, Qt::DotLine));
        p.drawLine(QPointF(3, 19), QPointF(20, 5));
        p.setPen(QPen(ink, 1.6));
        Arrow(p, {16, 8}, {20, 5});
        break;
    case tgZoomIn:
    case tgZoomOut:
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(3, 3, 13, 13));
        p.setPen(QPen(ink, 2.5));
        p.drawLine(QPointF(14, 14), QPointF(21, 21));
        p.setPen(QPen(ink, 1.6));
        p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
        if (glyph == tgZoomIn)
            p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
        break;
    case tgRealTime:
        p.setBrush(QColor(60, 160, 80));
        p.drawPolygon(QPolygonF({{7, 4}, {19, 12}, {7, 20}}));
        break;
    case tgStop:
        p.setBrush(QColor(200, 60, 60));
        p.drawRect(QRectF(6, 6, 12, 12));
        break;
    case tgInterval:
        p.setBrush(QColor(60, 160, 80));
        p.drawPolygon(QPolygonF({{4, 5}, {12, 12}, {4, 19}}));
        p.drawPolygon(QPolygonF({{12, 5}, {20, 12}, {12, 19}}));
        break;
    case tgChart:
        p.drawLine(QPointF(4, 3), QPointF(4, 20));
        p.drawLine(QPointF(4, 20), QPointF(21, 20));
        p.setPen(QPen(accent, 2));
        p.drawPolyline(QPolygonF({{5, 16}, {10, 10}, {14, 13}, {20, 5}}));
        break;
    case tgExperiment:
        // Three means with their confidence bars.
        p.drawLine(QPointF(3, 21), QPointF(21, 21));
        p.setPen(QPen(accent, 1.6));
        for (const auto& [x, y, h] :
             {std::tuple{6.0, 14.0, 4.0}, {12.0, 10.0, 5.0}, {18.0, 6.0, 3.0}}) {
            p.drawLine(QPointF(x, y - h), QPointF(x, y + h));
            p.drawLine(QPointF(x - 2, y - h), QPointF(x + 2, y - h));
            p.drawLine(QPointF(x - 2, y + h), QPointF(x + 2, y + h));
            p.setBrush(accent);
            p.drawEllipse(QPointF(x, y), 1.8, 1.8);
        }
        break;
    }
    return QIcon(pixmap);
}
