#pragma once
// The command line: exports and dumps that run without showing a window.
#include <QStringList>

namespace plennix {

struct CommandLine {
    enum class Action { OpenWindow, ExportBmp, ExportPng, PrintPdf, Dump, CreateSample, Usage };
    Action action = Action::OpenWindow;
    QString output;
    QString document;
    float zoom = 1.0f;
    QString error;  // set for Usage when the arguments are wrong
};

CommandLine ParseCommandLine(const QStringList& arguments);
// Runs a headless action; returns the process exit status (0 success, 1 failure with one line on stderr).
int RunCommandLine(const CommandLine& command);
// Writes the bundled sample calendar, made by the program itself.
bool CreateSampleCalendar(const QString& path, QString* error);

}  // namespace plennix
