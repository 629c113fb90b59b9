#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProxyStyle>
#include <QStringList>
#include <cstdio>

#include "app/command_line.h"
#include "app/icon_palette.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/tool_icons.h"
#include "calendar/calendar_panel.h"
#include "objects/object_classes.h"
#include "platform/accessibility.h"
#include "surface/label.h"

namespace {
// A headless run (exports, dumps) draws only off-screen: it needs no display connection, so it works
// without one and starts faster. An explicit platform choice is kept.
void UseOffscreenPlatformWhenHeadless(const QStringList& arguments) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    if (plennix::IsHeadlessCommandLine(arguments)) qputenv("QT_QPA_PLATFORM", "offscreen");
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}
}  // namespace

namespace {
// Tool tips come up after 1.2 seconds, so that they do not get in the way of quick work.
class HintDelayStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) return 1200;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
}  // namespace

int main(int argc, char** argv) {
    // Before Qt looks for it: a runtime folder of this user's alone, also when no session set one.
    const plennix::TPrivateRuntimeDir runtimeDir;
    const QStringList rawArguments = argumentsOf(argc, argv);
    UseOffscreenPlatformWhenHeadless(rawArguments);
    // A headless run makes no widget, so it needs no widget application (nor its style and
    // accessibility set-up); the sample document is made on a page in a window and needs one. Words
    // the parser refuses may be Qt's own options, which only the application takes off: such a line
    // is parsed again from what the application leaves.
    using Action = plennix::CommandLine::Action;
    const plennix::CommandLine rawCommand = plennix::ParseCommandLine(rawArguments);
    if (rawCommand.action != Action::OpenWindow && rawCommand.action != Action::CreateSample &&
        rawCommand.action != Action::Usage) {
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("Plennix"));
        QGuiApplication::setDesktopFileName(QStringLiteral("plennix"));
        plennix::RegisterLabelClasses();
        plennix::RegisterDecorativeObjectClasses();
        return plennix::RunCommandLine(rawCommand);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plennix"));
    QApplication::setDesktopFileName(QStringLiteral("plennix"));
    plennix::InstallAccessibleNames();
    plennix::RegisterCalendarObjectClasses();
    const plennix::CommandLine command = plennix::ParseCommandLine(QApplication::arguments());
    if (command.action != plennix::CommandLine::Action::OpenWindow) return plennix::RunCommandLine(command);

    // One copy per user: a later start hands its document to the running copy and ends before it
    // shows any window.
    plennix::TJustOne guard;
    const QString guardWarning = runtimeDir.Warning().isEmpty() ? guard.Warning() : runtimeDir.Warning();
    if (!guardWarning.isEmpty())
        std::fprintf(stderr, "plennix: %s\n", guardWarning.simplified().toLocal8Bit().constData());
    if (!guard.TryBecomeFirst()) {
        const QString path = command.document.isEmpty() ? QString() : QFileInfo(command.document).absoluteFilePath();
        if (guard.HandOver(path)) return 0;
        // The running copy does not answer (it hangs or is just ending): start anyway rather than
        // leave the person with nothing.
    }

    QApplication::setStyle(new HintDelayStyle);
    QApplication::setWindowIcon(plennix::ApplicationIcon());
    plennix::TCalendarMain window;
    // The icon palette stays above the main window and is shown and hidden with it.
    plennix::TFloatingPalette palette(&window);
    window.SetIconPalette(&palette);
    guard.OnHandOver = [&window](const QString& path) { window.HandOverReceived(path); };
    guard.Listen();
    window.FormActivate();
    // A document named on the command line is opened after the most recent one, as a later start's
    // document is: a name that leads nowhere is reported and the recent document stays open.
    if (!command.document.isEmpty()) window.HandOverReceived(QFileInfo(command.document).absoluteFilePath());
    QObject::connect(&window, &plennix::TCalendarMain::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    return app.exec();
}
