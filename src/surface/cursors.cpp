#include "surface/cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace plennix {
namespace {
QPixmap drawHand(bool pointing) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (pointing) {
        // Index finger up, the others curled into the palm.
        path.addRoundedRect(QRectF(9, 1, 5, 15), 2.5, 2.5);
        path.addRoundedRect(QRectF(13, 9, 5, 9), 2.5, 2.5);
        path.addRoundedRect(QRectF(17, 10, 5, 9), 2.5, 2.5);
        path.addRoundedRect(QRectF(21, 11, 5, 9), 2.5, 2.5);
        path.addRoundedRect(QRectF(3, 13, 7, 5), 2.5, 2.5);
        path.addRoundedRect(QRectF(7, 14, 19, 14), 5, 5);
    } else {
        // A fist: four knuckles over the palm, thumb tucked in.
        for (int i = 0; i < 4; ++i) path.addRoundedRect(QRectF(7 + i * 5, 8, 5, 8), 2.5, 2.5);
        path.addRoundedRect(QRectF(6, 12, 21, 15), 5, 5);
        path.addRoundedRect(QRectF(3, 14, 8, 5), 2.5, 2.5);
    }
    path = path.simplified();
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(path);
    return pm;
}
}  // namespace

QCursor HandGrabCursor() {
    static const QCursor c(drawHand(false), 16, 16);
    return c;
}

QCursor HandPointCursor() {
    static const QCursor c(drawHand(true), 11, 1);
    return c;
}
}  // namespace plennix
