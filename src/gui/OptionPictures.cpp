#include "gui/OptionPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace veldra::gui {
namespace {

constexpr int Size = 64;

// A sheet of paper with a folded corner: the TDB and overview map.
void drawSheet(QPainter& p, const QRectF& r) {
    QPainterPath sheet;
    const qreal fold = r.width() * 0.3;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

}  // namespace

QIcon optionPicture(OptionKind kind, bool chosen) {
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(Size * scale, Size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink = chosen ? QColor(60, 60, 60) : QColor(160, 160, 160);
        p.setPen(QPen(ink, 3));
        p.setBrush(chosen ? QColor(255, 200, 100) : QColor(243, 241, 221));
        p.drawRoundedRect(QRectF(3, 3, Size - 6, Size - 6), 10, 10);
        p.setBrush(Qt::white);
        p.setPen(QPen(ink, 2.5));
        drawSheet(p, QRectF(18, 12, 24, 32));
        if (kind == OptionKind::MakeFiles) {
            // A plus: the files are still to be made.
            p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(46, 40), QPointF(46, 56));
            p.drawLine(QPointF(38, 48), QPointF(54, 48));
        } else {
            // A tick: the files are there.
            p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(37, 47), QPointF(43, 53), QPointF(55, 39)}));
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace veldra::gui
