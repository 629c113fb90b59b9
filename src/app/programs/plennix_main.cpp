#include <QGuiApplication>
#include <QStringList>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "app/command_line.h"
#include "app/single_instance.h"
#include "objects/object_classes.h"
#include "surface/label.h"

// plennix: the program people start. Headless runs (exports, dumps, the iCalendar commands, the sample,
// --help, --version) are done here with Qt Gui alone, so that they never load the widget and print-dialog
// libraries: that loading was most of what a run cost beyond drawing its page. Everything else (the
// window, and a command line that only Qt's widget application understands, such as one with -style) is
// the window program's, plennix-window beside this one: this process becomes it (exec), keeping its
// process, arguments and environment.
namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The folder of this program's file, from the kernel (argv[0] may be a bare name found on the PATH).
std::string programFolder(const char* argv0) {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string file = length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string(argv0 ? argv0 : "");
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

[[noreturn]] void becomeWindowProgram(char** argv) {
    const std::string window = programFolder(argv[0]) + "/plennix-window";
    ::execv(window.c_str(), argv);
    const int why = errno;
    std::fprintf(stderr, "plennix: unable to start the window program %s: %s\n", window.c_str(), std::strerror(why));
    std::fflush(stderr);
    ::_exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    using Action = plennix::CommandLine::Action;
    const plennix::CommandLine command = plennix::ParseCommandLine(argumentsOf(argc, argv));
    // Words the parser refuses may be Qt's own options, which the window program's application takes
    // off before it parses the line again.
    if (command.action == Action::OpenWindow || command.action == Action::Usage)
        becomeWindowProgram(argv);

    // Before Qt looks for it: a runtime folder of this user's alone, also when no session set one.
    const plennix::TPrivateRuntimeDir runtimeDir;
    // A headless run draws only off-screen: it needs no display connection, so it works without one and
    // starts faster. An explicit platform choice is kept.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Plennix"));
    QGuiApplication::setDesktopFileName(QStringLiteral("plennix"));
    plennix::RegisterLabelClasses();
    plennix::RegisterDecorativeObjectClasses();
    return plennix::RunCommandLine(command);
}
