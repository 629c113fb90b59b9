#pragma once
// The command line: exports and dumps that run without showing a window.
#include <QStringList>
#include <vector>

namespace plennix {

struct CommandLine {
    // ImportIcs and ExportIcs take their .ics file in `output` and work on PXRECUR.DAX.
    enum class Action {
        OpenWindow,
        ExportBmp,
        ExportPng,
        PrintPdf,
        Dump,
        CreateSample,
        ImportIcs,
        ExportIcs,
        Help,
        Version,
        Usage
    };
    Action action = Action::OpenWindow;
    QString output;
    QString document;
    float zoom = 1.0f;
    int months = 1;  // consecutive pages for --print-pdf and --export-png
    bool fill = false;  // --fill: recurring dates from PXRECUR.DAX into each page before it is output
    QString pictures;  // --pictures: a folder whose pictures fill each page's Picture of the Month
    bool pictureFitInside = false;  // --picture-fit fit: whole pictures inside the placeholder (else cropped)
    bool pictureFitGiven = false;   // --picture-fit at all: it needs --pictures, whichever way it says
    bool icsKeepDated = false;  // --ics-keep-dated: --import-ics keeps one-date events as yearly entries
    QString error;  // set for Usage when the arguments are wrong
};

// One option the program knows, as --help shows it: "--name", the name of its value (empty for a
// switch) and its line of description.
struct CommandLineOption {
    QString name;
    QString value;
    QString description;
};
std::vector<CommandLineOption> CommandLineOptions();
// What --help prints: every option on a line of its own, and the exit statuses.
QString CommandLineHelp();

CommandLine ParseCommandLine(const QStringList& arguments);
// True when the arguments ask for a headless action (or are wrong): such a run needs no window system.
bool IsHeadlessCommandLine(const QStringList& arguments);
// Runs a headless action; returns the process exit status (0 success, also for --help and --version;
// 1 failure with one line on stderr; 2 a wrong command line, with a line that names the fault and
// points to --help; --import-ics gives 2 as well when it stored some events and left others out, each
// listed on stderr).
int RunCommandLine(const CommandLine& command);
// The program's version, set by the build.
QString ProgramVersion();

}  // namespace plennix
