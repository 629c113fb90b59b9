#include <QApplication>
#include <QFileInfo>
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

namespace {
// A run that shows no window (a headless command line given to this program directly, or with a widget
// application's own options) draws only off-screen: it needs no display connection, so it works without
// one. An explicit platform choice is kept.
void UseOffscreenPlatformWhenHeadless(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    if (plennix::IsHeadlessCommandLine(arguments)) qputenv("QT_QPA_PLATFORM", "offscreen");
}

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

// plennix-window: the window, and a command line that only a widget application understands (Qt's widget
// options such as -style are taken off only by a widget application).
// People start "plennix", which does headless runs itself and becomes this program for the rest; this
// program also takes a headless command line, handing it to the same run as "plennix" does.
int main(int argc, char** argv) {
    // Before Qt looks for it: a runtime folder of this user's alone, also when no session set one.
    const plennix::TPrivateRuntimeDir runtimeDir;
    UseOffscreenPlatformWhenHeadless(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plennix"));
    QApplication::setDesktopFileName(QStringLiteral("plennix"));
    plennix::InstallAccessibleNames();
    plennix::RegisterCalendarObjectClasses();
    using Action = plennix::CommandLine::Action;
    const plennix::CommandLine command = plennix::ParseCommandLine(QApplication::arguments());
    if (command.action != Action::OpenWindow) return plennix::RunCommandLine(command);

    // One copy per user: a later start hands its document to the running copy and ends before it
    // shows any window. The copy is named after the program people start.
    plennix::TJustOne guard(QStringLiteral("plennix"));
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
