#include "gui/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace veldra::gui {

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 128.0, size / 128.0);
        p.setPen(QPen(QColor(0x5a, 0x5a, 0x4a), 4));
        p.setBrush(QColor(0xf3, 0xf1, 0xdd));
        p.drawRoundedRect(QRectF(6, 6, 116, 116), 22, 22);
        p.setPen(QPen(QColor(0x3f, 0x5a, 0x33), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0x6f, 0x9a, 0x5a));
        p.drawPolygon(QPolygonF({QPointF(18, 96), QPointF(46, 52), QPointF(62, 74), QPointF(78, 44), QPointF(110, 96)}));
        QPainterPath river(QPointF(18, 96));
        river.cubicTo(QPointF(40, 86), QPointF(52, 104), QPointF(74, 94));
        river.cubicTo(QPointF(96, 84), QPointF(104, 90), QPointF(110, 96));
        p.setPen(QPen(QColor(0x3d, 0x6f, 0xa8), 5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(river);
        p.setPen(QPen(QColor(0x5a, 0x5a, 0x4a), 4));
        p.setBrush(QColor(0xff, 0xc8, 0x64));
        p.drawEllipse(QPointF(92, 32), 14, 14);
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace veldra::gui
