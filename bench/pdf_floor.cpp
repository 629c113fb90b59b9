// The floor of a headless PDF export on this stack: a Qt GUI application that writes one line of text
// into a one-page PDF and ends. bench/cli_startup.sh compares whole-process times against it.
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    QGuiApplication app(argc, argv);
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPageSize(QPageSize(QPageSize::Letter));
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("Arial"), 24));
    painter.drawText(1200, 1200, QStringLiteral("December 2026"));
    return painter.end() ? 0 : 1;
}
