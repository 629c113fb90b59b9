#include "app/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace plennix {

namespace {
constexpr int kSize = 32;  // drawn at 32 and scaled down by the tool bar

void drawMagnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 2.5));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(4, 4, 17, 17));
    p.setPen(QPen(QColor(90, 60, 30), 4.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(QPen(QColor(20, 20, 20), 2.5));
    p.drawLine(QPointF(8, 12.5), QPointF(17, 12.5));
    if (plus) p.drawLine(QPointF(12.5, 8), QPointF(12.5, 17));
}

void drawCalendarPage(QPainter& p, const QRectF& r, const QColor& header) {
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setBrush(header);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() / 4));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    const double top = r.top() + r.height() / 4;
    for (int i = 1; i < 4; ++i) {
        const double y = top + (r.bottom() - top) * i / 4;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        const double x = r.left() + r.width() * i / 4;
        p.drawLine(QPointF(x, top), QPointF(x, r.bottom()));
    }
}

void drawLetter(QPainter& p, const QRectF& r, const QString& text, const QColor& color, bool bold, bool italic) {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPixelSize(static_cast<int>(r.height()));
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, text);
}

void paintIcon(QPainter& p, ToolIcon which) {
    switch (which) {
        case ToolIcon::ZoomIn:
            drawMagnifier(p, true);
            break;
        case ToolIcon::ZoomOut:
            drawMagnifier(p, false);
            break;
        case ToolIcon::Properties: {
            drawCalendarPage(p, QRectF(3, 5, 20, 22), QColor(70, 110, 200));
            // A pencil across the page: the page's settings are edited.
            p.setPen(QPen(QColor(40, 40, 40), 1));
            p.setBrush(QColor(240, 190, 40));
            QPolygonF pencil;
            pencil << QPointF(29, 9) << QPointF(31, 11) << QPointF(17, 25) << QPointF(14, 26) << QPointF(15, 23);
            p.drawPolygon(pencil);
            break;
        }
        case ToolIcon::Print:
            p.setPen(QPen(QColor(50, 50, 50), 1.5));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 3, 14, 10));
            p.setBrush(QColor(170, 170, 175));
            p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 20, 14, 9));
            p.setPen(QPen(QColor(120, 120, 120), 1));
            p.drawLine(QPointF(11, 24), QPointF(21, 24));
            p.drawLine(QPointF(11, 26.5), QPointF(19, 26.5));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 180, 60));
            p.drawEllipse(QRectF(24, 15, 3, 3));
            break;
        case ToolIcon::IconPalette: {
            p.setPen(QPen(QColor(60, 60, 60), 1.5));
            p.setBrush(QColor(245, 245, 245));
            p.drawRect(QRectF(3, 3, 26, 26));
            const QColor colors[9] = {QColor(220, 60, 60), QColor(60, 160, 60), QColor(60, 90, 210),
                                      QColor(230, 170, 30), QColor(150, 70, 190), QColor(40, 170, 170),
                                      QColor(240, 110, 40), QColor(100, 100, 100), QColor(200, 60, 140)};
            p.setPen(Qt::NoPen);
            for (int i = 0; i < 9; ++i) {
                p.setBrush(colors[i]);
                p.drawEllipse(QRectF(6 + (i % 3) * 7.5, 6 + (i / 3) * 7.5, 6, 6));
            }
            break;
        }
        case ToolIcon::Pointer: {
            QPolygonF arrow;
            arrow << QPointF(8, 3) << QPointF(8, 25) << QPointF(13, 20) << QPointF(17, 29) << QPointF(21, 27)
                  << QPointF(17, 18) << QPointF(24, 18);
            p.setPen(QPen(Qt::black, 1.5));
            p.setBrush(Qt::white);
            p.drawPolygon(arrow);
            break;
        }
        case ToolIcon::Text:
            drawLetter(p, QRectF(0, 0, kSize, kSize), QStringLiteral("A"), QColor(20, 20, 20), true, false);
            break;
        case ToolIcon::ClipArt: {
            p.setPen(QPen(QColor(60, 60, 60), 1.5));
            p.setBrush(QColor(200, 230, 255));
            p.drawRect(QRectF(3, 5, 26, 22));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(250, 200, 40));
            p.drawEllipse(QRectF(19, 8, 7, 7));
            p.setBrush(QColor(70, 150, 70));
            QPolygonF hills;
            hills << QPointF(4, 26) << QPointF(12, 14) << QPointF(18, 21) << QPointF(22, 17) << QPointF(28, 26);
            p.drawPolygon(hills);
            break;
        }
        case ToolIcon::RichText:
            drawLetter(p, QRectF(0, 2, 16, 24), QStringLiteral("A"), QColor(200, 30, 30), true, false);
            drawLetter(p, QRectF(14, 8, 18, 22), QStringLiteral("b"), QColor(30, 70, 200), false, true);
            p.setPen(QPen(QColor(60, 60, 60), 1.5));
            p.drawLine(QPointF(3, 29), QPointF(29, 29));
            break;
        case ToolIcon::SuperText: {
            QLinearGradient g(0, 4, 0, 28);
            g.setColorAt(0, QColor(255, 210, 0));
            g.setColorAt(1, QColor(220, 40, 40));
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(26);
            f.setBold(true);
            QPainterPath path;
            path.addText(QPointF(4, 26), f, QStringLiteral("S"));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(120, 120, 120));
            p.drawPath(path.translated(3, 2));
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(g);
            p.drawPath(path);
            p.setBrush(QColor(40, 120, 220));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QRectF(22, 4, 7, 7));
            break;
        }
        case ToolIcon::FloatingCalendar:
            drawCalendarPage(p, QRectF(4, 4, 24, 24), QColor(220, 60, 60));
            break;
    }
}
}  // namespace

QIcon MakeToolIcon(ToolIcon which) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintIcon(p, which);
    p.end();
    return QIcon(pixmap);
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        drawCalendarPage(p, QRectF(3, 3, 26, 26), QColor(40, 110, 190));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 60, 50));
        p.drawEllipse(QRectF(19.5, 17.5, 6, 6));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace plennix
