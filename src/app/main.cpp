#include <QApplication>

#include "app/main_window.h"
#include "surface/label.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plennix"));
    plennix::RegisterLabelClasses();
    plennix::TCalendarMain window;
    window.show();
    return app.exec();
}
