// What drawing the December 2026 month page of bench/cli_startup.sh costs on this stack at the least:
// a Qt GUI application that draws the same things (the title in bold serif, the seven day names, the
// grid of 42 cells, the day numbers, the ten holiday texts in red sans serif, wrapped in their cells)
// with plain QPainter calls into a one-page PDF, reading no document and laying nothing out.
// bench/cli_startup.sh times it beside the one-line floor, so that the share of the page itself shows.
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "december_2026.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QGuiApplication app(argc, argv);
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setResolution(600);
    QPainter painter(&writer);
    QFont title(QStringLiteral("Times New Roman"), 36);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(300, 200, 5400, 600), Qt::AlignCenter, QStringLiteral("December 2026"));
    QFont heading(QStringLiteral("Times New Roman"), 12);
    heading.setBold(true);
    painter.setFont(heading);
    const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (int d = 0; d < 7; ++d)
        painter.drawText(QRect(300 + d * 770, 850, 770, 150), Qt::AlignCenter, QString::fromLatin1(days[d]));
    const QFont number(QStringLiteral("Times New Roman"), 14);
    const QFont note(QStringLiteral("Arial"), 10);
    for (int cell = 0; cell < 42; ++cell) {
        const QRect box(300 + (cell % 7) * 770, 1000 + (cell / 7) * 600, 770, 600);
        painter.setPen(Qt::black);
        painter.drawRect(box);
        const int day = cell - 1;  // December 2026 begins on a Tuesday
        if (day < 1 || day > 31) continue;
        painter.setFont(number);
        painter.drawText(box.adjusted(30, 20, -30, -20), Qt::AlignRight | Qt::AlignTop, QString::number(day));
        for (const auto& h : plennix::bench::kDecember2026Holidays)
            if (h.day == day) {
                painter.setFont(note);
                painter.setPen(QColor(192, 0, 0));
                painter.drawText(box.adjusted(30, 220, -30, -20), Qt::TextWordWrap, QString::fromLatin1(h.text));
            }
    }
    return painter.end() ? 0 : 1;
}
