#include <QApplication>
#include <QTimer>

#include "app/command_line.h"
#include "app/main_window.h"
#include "calendar/calendar_panel.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plennix"));
    plennix::RegisterCalendarObjectClasses();
    const plennix::CommandLine command = plennix::ParseCommandLine(QApplication::arguments());
    if (command.action != plennix::CommandLine::Action::OpenWindow) return plennix::RunCommandLine(command);
    plennix::TCalendarMain window;
    window.show();
    if (!command.document.isEmpty()) {
        const QString path = command.document;
        QTimer::singleShot(0, &window, [&window, path] { window.OpenDocument(path); });
    }
    return app.exec();
}
