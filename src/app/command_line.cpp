#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDate>
#include <QFileInfo>
#include <QObject>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/document_io.h"
#include "app/month_pages.h"
#include "app/photo_pictures.h"
#include "app/photo_run.h"
#include "app/sample_calendar.h"
#include "calendar/calendar_dump.h"
#include "calendar/calendar_page.h"
#include "platform/file_io.h"
#include "platform/stream_error.h"
#include "recurring/ical.h"
#include "recurring/store.h"
#include "plennix_version.h"

namespace plennix {

namespace {
// One entry per option: its name, the name of the value that follows it (null for none), its line in
// --help, and what it does with the value (a non-empty return is the usage error). New options are one
// more row; --help, the manual page's test and the parser all read this table.
struct OptionRow {
    const char* name;
    const char* value;
    const char* description;
    std::function<QString(CommandLine&, const QString& value)> apply;
};

std::function<QString(CommandLine&, const QString&)> setAction(CommandLine::Action action) {
    return [action](CommandLine& c, const QString& value) {
        if (c.action != CommandLine::Action::OpenWindow && c.action != action)
            return QStringLiteral(
                "give only one of --export-bmp, --export-png, --print-pdf, --dump, "
                "--create-sample, --import-ics and --export-ics");
        c.action = action;
        c.output = value;
        return QString();
    };
}

QString optionName(const OptionRow& row) { return QLatin1String(row.name).mid(2); }

const std::vector<OptionRow>& Options() {
    static const std::vector<OptionRow> options = {
        {"--export-bmp", "file", "Write the calendar (no placed objects) as a bitmap",
         setAction(CommandLine::Action::ExportBmp)},
        {"--export-png", "file", "Write the page as on screen as a PNG image",
         setAction(CommandLine::Action::ExportPng)},
        {"--print-pdf", "file", "Write the printed page as a PDF", setAction(CommandLine::Action::PrintPdf)},
        {"--dump", nullptr, "Print a .PXF, .PXS or clipboard file as text", setAction(CommandLine::Action::Dump)},
        {"--zoom", "factor", "Scale --export-bmp and --export-png (0.1 to 8)",
         [](CommandLine& c, const QString& value) {
             bool ok = false;
             const double z = value.toDouble(&ok);
             if (!ok || !(z >= 0.1 && z <= 8.0)) return QStringLiteral("--zoom needs a factor from 0.1 to 8");
             c.zoom = static_cast<float>(z);
             return QString();
         }},
        {"--months", "n", "Output n consecutive months (PDF or PNG)",
         [](CommandLine& c, const QString& value) {
             bool ok = false;
             const int n = value.toInt(&ok);
             if (!ok || n < 1 || n > kMaxMonthPages)
                 return QStringLiteral("--months needs a number from 1 to %1").arg(kMaxMonthPages);
             c.months = n;
             return QString();
         }},
        {"--fill", nullptr, "Fill each page's day cells from PXRECUR.DAX first",
         [](CommandLine& c, const QString&) {
             c.fill = true;
             return QString();
         }},
        {"--pictures", "folder", "Each month's clip-art picture from the folder",
         [](CommandLine& c, const QString& value) {
             if (value.isEmpty()) return QStringLiteral("--pictures needs a folder");
             c.pictures = value;
             return QString();
         }},
        {"--picture-fit", "crop|fit", "Crop pictures to fill, or fit them inside",
         [](CommandLine& c, const QString& value) {
             c.pictureFitGiven = true;
             if (value == QLatin1String("crop")) {
                 c.pictureFitInside = false;
             } else if (value == QLatin1String("fit")) {
                 c.pictureFitInside = true;
             } else {
                 return QStringLiteral("--picture-fit needs crop or fit, not %1").arg(value);
             }
             return QString();
         }},
        {"--import-ics", "file", "Add an iCalendar file's events to PXRECUR.DAX",
         setAction(CommandLine::Action::ImportIcs)},
        {"--ics-keep-dated", nullptr, "With --import-ics: single dates as yearly entries",
         [](CommandLine& c, const QString&) {
             c.icsKeepDated = true;
             return QString();
         }},
        {"--export-ics", "file", "Write PXRECUR.DAX as an iCalendar file", setAction(CommandLine::Action::ExportIcs)},
        {"--create-sample", "file", "Write the bundled sample calendar", setAction(CommandLine::Action::CreateSample)},
        {"--help", nullptr, "Show this list of options and exit",
         [](CommandLine& c, const QString&) {
             c.action = CommandLine::Action::Help;
             return QString();
         }},
        {"--version", nullptr, "Show the program's version and exit",
         [](CommandLine& c, const QString&) {
             c.action = CommandLine::Action::Version;
             return QString();
         }},
    };
    return options;
}

// The parser made from the table; -h is the one short name, for --help.
void describeOptions(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.setApplicationDescription(QStringLiteral("Plennix %1, a calendar designer.\nWithout options it opens "
                                                    "DOC.PXF (or the last document) in its window.")
                                         .arg(ProgramVersion()));
    for (const OptionRow& row : Options()) {
        QStringList names{optionName(row)};
        if (optionName(row) == QLatin1String("help")) names.prepend(QStringLiteral("h"));
        QCommandLineOption option(names, QString::fromLatin1(row.description));
        if (row.value) option.setValueName(QString::fromLatin1(row.value));
        parser.addOption(option);
    }
    parser.addPositionalArgument(QStringLiteral("DOC.PXF"), QStringLiteral("The calendar document"),
                                 QStringLiteral("[DOC.PXF]"));
}

// QCommandLineParser reports in English sentences of its own; the program names the option and what
// it wanted.
QString parserError(const QCommandLineParser& parser, const QStringList& args) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        // Named as it was typed: one dash or two, without a value after "=".
        const QString name = unknown.first();
        for (const QString& a : args.mid(1)) {
            const QString typed = a.section('=', 0, 0);
            if (typed == QStringLiteral("--") + name || typed == QStringLiteral("-") + name)
                return QStringLiteral("unknown option ") + typed;
        }
        return QStringLiteral("unknown option ") + name;
    }
    for (const OptionRow& row : Options())
        if (row.value && args.contains(QLatin1String(row.name)) && args.last() == QLatin1String(row.name))
            return QLatin1String(row.name) + QStringLiteral(" needs its value <") + QLatin1String(row.value) + '>';
    return parser.errorText();
}
}  // namespace

std::vector<CommandLineOption> CommandLineOptions() {
    std::vector<CommandLineOption> list;
    for (const OptionRow& row : Options())
        list.push_back({QLatin1String(row.name), row.value ? QString::fromLatin1(row.value) : QString(),
                        QString::fromLatin1(row.description)});
    return list;
}

QString CommandLineHelp() {
    QCommandLineParser parser;
    describeOptions(parser);
    QString help = parser.helpText();
    // The program's file name as a person types it, whatever the executable's path.
    const qsizetype lineEnd = help.indexOf('\n');
    help.replace(0, lineEnd, QStringLiteral("Usage: plennix [options] [DOC.PXF]"));
    return help + QStringLiteral(
                      "\nExit status: 0 success, 1 failure (one line on stderr), 2 a wrong command line\n"
                      "or an --import-ics that left events out.\n");
}

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine c;
    auto usage = [&c](const QString& why) {
        c.action = CommandLine::Action::Usage;
        c.error = why;
        return c;
    };
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(args.isEmpty() ? QStringList{QStringLiteral("plennix")} : args))
        return usage(parserError(parser, args));
    // The rows apply in the order the options were given, so that their checks see each other.
    for (const QString& name : parser.optionNames()) {
        const QString full = (name.size() == 1 ? QStringLiteral("--help") : QStringLiteral("--") + name);
        for (const OptionRow& row : Options()) {
            if (full != QLatin1String(row.name)) continue;
            const QString why = row.apply(c, row.value ? parser.value(optionName(row)) : QString());
            if (!why.isEmpty()) return usage(why);
        }
    }
    if (c.action == CommandLine::Action::Help || c.action == CommandLine::Action::Version) return c;
    const QStringList documents = parser.positionalArguments();
    if (documents.size() > 1) return usage(QStringLiteral("more than one document given"));
    if (!documents.isEmpty()) c.document = documents.first();
    if (c.action != CommandLine::Action::OpenWindow && c.action != CommandLine::Action::CreateSample &&
        c.action != CommandLine::Action::ImportIcs && c.action != CommandLine::Action::ExportIcs &&
        c.document.isEmpty())
        return usage(QStringLiteral("no document given"));
    if (c.icsKeepDated && c.action != CommandLine::Action::ImportIcs)
        return usage(QStringLiteral("--ics-keep-dated goes with --import-ics"));
    if (c.months > 1 && c.action != CommandLine::Action::PrintPdf && c.action != CommandLine::Action::ExportPng)
        return usage(QStringLiteral("--months goes with --print-pdf or --export-png"));
    if (!c.pictures.isEmpty() && c.action != CommandLine::Action::PrintPdf && c.action != CommandLine::Action::ExportPng)
        return usage(QStringLiteral("--pictures goes with --print-pdf or --export-png"));
    if (c.pictureFitGiven && c.pictures.isEmpty()) return usage(QStringLiteral("--picture-fit goes with --pictures"));
    if (c.fill && c.action != CommandLine::Action::ExportBmp && c.action != CommandLine::Action::ExportPng &&
        c.action != CommandLine::Action::PrintPdf && c.action != CommandLine::Action::Dump)
        return usage(QStringLiteral("--fill goes with --export-bmp, --export-png, --print-pdf or --dump"));
    return c;
}

bool IsHeadlessCommandLine(const QStringList& arguments) {
    return ParseCommandLine(arguments).action != CommandLine::Action::OpenWindow;
}

namespace {
int fail(const QString& message) {
    const QByteArray line = message.simplified().toLocal8Bit();
    std::fprintf(stderr, "plennix: %s\n", line.constData());
    return 1;
}

// Objects of the document that could not be read are missing from what the run writes; as the window
// does when it opens the document, the run says so (on stderr) and still does its work with the rest.
void noteObjectsLeftOut(const TCalendarPage& page, const QString& path) {
    const QString notice = ObjectsLeftOutNotice(page.LastObjectReadReport(), path);
    if (!notice.isEmpty()) std::fprintf(stderr, "plennix: %s\n", notice.simplified().toLocal8Bit().constData());
}

// The fill puts a month's dates into month pages only (as Print Months does); a run on another page
// still does its work, and says that its pages go without the dates.
void noteUnfilled(const TCalendarPage& page) {
    const QString kind = UnfilledPageKind(page);
    if (kind.isEmpty()) return;
    std::fprintf(stderr, "plennix: --fill puts recurring dates into month pages only; this %s is output without them\n",
                 kind.toLocal8Bit().constData());
}

}  // namespace

QString ProgramVersion() { return QStringLiteral(PLENNIX_VERSION); }

int RunCommandLine(const CommandLine& c) {
    using A = CommandLine::Action;
    if (c.action == A::Usage) {
        const QByteArray line = c.error.simplified().toLocal8Bit();
        std::fprintf(stderr, "plennix: %s; plennix --help lists the options\n", line.constData());
        return 2;
    }
    if (c.action == A::Help || c.action == A::Version) {
        const QByteArray text = c.action == A::Help
                                    ? CommandLineHelp().toLocal8Bit()
                                    : (QStringLiteral("plennix ") + ProgramVersion() + '\n').toLocal8Bit();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
        std::fflush(stdout);
        return 0;
    }
    if (c.action == A::CreateSample) {
        QString error;
        if (!CreateSampleCalendar(c.output, &error)) return fail(error);
        return 0;
    }
    // The window is the window program's: a run here that asks for it is a fault of the caller.
    if (c.action == A::OpenWindow) return fail(QStringLiteral("the window is opened by the window program"));
    if (c.action == A::ImportIcs || c.action == A::ExportIcs) {
        QString error;
        QStringList leftOut;
        QString summary;
        int added = 0;
        const bool ok = c.action == A::ImportIcs
                            ? ImportIcsFileIntoRecurringDates(c.output, &added, &leftOut, &error,
                                                              c.icsKeepDated ? IcsDatedEvents::KeepAsYearly
                                                                             : IcsDatedEvents::LeaveOut,
                                                              &summary)
                            : ExportRecurringDatesToIcsFile(c.output, QDate::currentDate().year(), &leftOut, &error);
        for (const QString& line : leftOut)
            std::fprintf(stderr, "plennix: left out: %s\n", line.simplified().toLocal8Bit().constData());
        if (!ok) return fail(error);
        if (!summary.isEmpty()) std::fprintf(stderr, "plennix: %s\n", summary.toLocal8Bit().constData());
        return c.action == A::ImportIcs && !leftOut.isEmpty() ? 2 : 0;
    }
    if (!QFileInfo::exists(c.document)) return fail(QStringLiteral("File ") + c.document + QStringLiteral(" does not exist"));
    // The recurring dates are read once, before any page is touched: a list that cannot be read fails the
    // run rather than giving pages that silently lack their dates.
    QStringList recurring;
    if (c.fill) {
        QString error;
        const auto lines = LoadRecurringDates(&error);
        if (!lines) return fail(error);
        recurring = *lines;
    }
    const PagePreparer fill =
        c.fill ? PagePreparer([&recurring](TCalendarPage& p) { FillPageWithRecurringDates(p, recurring); })
               : PagePreparer();
    // The folder is read before the document, so that a wrong folder fails the run at once.
    QStringList pictures;
    if (!c.pictures.isEmpty()) {
        QString error;
        pictures = ListFolderPictures(c.pictures, &error);
        if (pictures.isEmpty()) return fail(error);
    }
    if (c.action == A::Dump) {
        // A filled document is dumped from a filled copy; the file itself is left as it is.
        QString dumped = c.document;
        QTemporaryDir dir;
        if (c.fill) {
            TCalendarPage page;
            QString error;
            if (!LoadDocumentIntoPage(page, c.document, &error)) return fail(error);
            noteObjectsLeftOut(page, c.document);
            noteUnfilled(page);
            fill(page);
            dumped = dir.filePath(QFileInfo(c.document).fileName());
            if (!dir.isValid() || !SavePageDocument(page, dumped, &error)) return fail(error);
        }
        try {
            const QByteArray text = DumpCalendarFile(dumped).toUtf8();
            std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
            return 0;
        } catch (const FileError& e) {
            return fail(e.message());  // names the file already
        } catch (const StreamError& e) {
            return fail(c.document + QStringLiteral(": ") + e.message());
        }
    }
    // The document is read into a page apart from any window: a headless run makes no widget.
    TCalendarPage page;
    QString error;
    if (!LoadDocumentIntoPage(page, c.document, &error)) return fail(error);
    noteObjectsLeftOut(page, c.document);
    if (c.fill) noteUnfilled(page);
    std::unique_ptr<MonthPictures> monthPictures;
    PagePreparer prepare = fill;
    if (!pictures.isEmpty()) {
        monthPictures = MonthPictures::Make(page, pictures, c.pictureFitInside ? PictureFit::Fit : PictureFit::Crop,
                                            c.months, &error);
        if (!monthPictures) return fail(c.document + QStringLiteral(": ") + error);
        prepare = monthPictures->Preparer(fill);
    }
    bool ok = false;
    switch (c.action) {
        case A::ExportBmp:
            ok = ExportCalendarBmp(page, c.output, c.zoom, &error, fill);
            break;
        case A::ExportPng:
            ok = WritePagesPng(page, c.output, c.zoom, c.months, &error, prepare);
            break;
        case A::PrintPdf:
            ok = WritePagesPdf(page, c.output, c.months, &error, prepare);
            break;
        default:
            break;
    }
    // A picture that could not be read left its page as designed; the run still did its work.
    if (monthPictures)
        for (const QString& line : monthPictures->Unreadable())
            std::fprintf(stderr, "plennix: picture left out: %s\n", line.simplified().toLocal8Bit().constData());
    return ok ? 0 : fail(error);
}

}  // namespace plennix
