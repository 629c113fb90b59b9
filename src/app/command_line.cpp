#include "app/command_line.h"

#include <QDate>
#include <QFileInfo>
#include <QObject>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/document_io.h"
#include "app/month_pages.h"
#include "app/page_output.h"
#include "calendar/calendar_dump.h"
#include "calendar/calendar_panel.h"
#include "objects/rich_label.h"
#include "platform/stream_error.h"
#include "recurring/fill_calendar.h"
#include "recurring/ical.h"
#include "recurring/store.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"

namespace plennix {

namespace {
// One entry per option: its name, what value follows it (null for none), and what it does with the
// value (a non-empty return is the usage error). New options are one more row.
struct OptionRow {
    const char* name;
    const char* value;
    std::function<QString(CommandLine&, const QString& value)> apply;
};

std::function<QString(CommandLine&, const QString&)> setAction(CommandLine::Action action) {
    return [action](CommandLine& c, const QString& value) {
        c.action = action;
        c.output = value;
        return QString();
    };
}

const std::vector<OptionRow>& Options() {
    static const std::vector<OptionRow> options = {
        {"--export-bmp", "a file name", setAction(CommandLine::Action::ExportBmp)},
        {"--export-png", "a file name", setAction(CommandLine::Action::ExportPng)},
        {"--print-pdf", "a file name", setAction(CommandLine::Action::PrintPdf)},
        {"--create-sample", "a file name", setAction(CommandLine::Action::CreateSample)},
        {"--import-ics", "a file name", setAction(CommandLine::Action::ImportIcs)},
        {"--export-ics", "a file name", setAction(CommandLine::Action::ExportIcs)},
        {"--dump", nullptr,
         [](CommandLine& c, const QString&) {
             c.action = CommandLine::Action::Dump;
             return QString();
         }},
        {"--zoom", "a factor",
         [](CommandLine& c, const QString& value) {
             bool ok = false;
             const double z = value.toDouble(&ok);
             if (!ok || !(z >= 0.1 && z <= 8.0)) return QStringLiteral("--zoom needs a factor from 0.1 to 8");
             c.zoom = static_cast<float>(z);
             return QString();
         }},
        {"--fill", nullptr,
         [](CommandLine& c, const QString&) {
             c.fill = true;
             return QString();
         }},
        {"--ics-keep-dated", nullptr,
         [](CommandLine& c, const QString&) {
             c.icsKeepDated = true;
             return QString();
         }},
        {"--months", "a number of months",
         [](CommandLine& c, const QString& value) {
             bool ok = false;
             const int n = value.toInt(&ok);
             if (!ok || n < 1 || n > kMaxMonthPages)
                 return QStringLiteral("--months needs a number from 1 to %1").arg(kMaxMonthPages);
             c.months = n;
             return QString();
         }},
    };
    return options;
}
}  // namespace

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine c;
    auto usage = [&c](const QString& why) {
        c.action = CommandLine::Action::Usage;
        c.error = why;
        return c;
    };
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const OptionRow* row = nullptr;
        for (const OptionRow& o : Options())
            if (a == QLatin1String(o.name)) row = &o;
        if (row) {
            QString value;
            if (row->value) {
                if (i + 1 >= args.size()) return usage(a + QStringLiteral(" needs ") + QLatin1String(row->value));
                value = args[++i];
            }
            const QString why = row->apply(c, value);
            if (!why.isEmpty()) return usage(why);
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option ") + a);
        } else if (c.document.isEmpty()) {
            c.document = a;
        } else {
            return usage(QStringLiteral("more than one document given"));
        }
    }
    if (c.action != CommandLine::Action::OpenWindow && c.action != CommandLine::Action::CreateSample &&
        c.action != CommandLine::Action::ImportIcs && c.action != CommandLine::Action::ExportIcs &&
        c.document.isEmpty())
        return usage(QStringLiteral("no document given"));
    if (c.icsKeepDated && c.action != CommandLine::Action::ImportIcs)
        return usage(QStringLiteral("--ics-keep-dated goes with --import-ics"));
    if (c.months > 1 && c.action != CommandLine::Action::PrintPdf && c.action != CommandLine::Action::ExportPng)
        return usage(QStringLiteral("--months goes with --print-pdf or --export-png"));
    if (c.fill && c.action != CommandLine::Action::ExportBmp && c.action != CommandLine::Action::ExportPng &&
        c.action != CommandLine::Action::PrintPdf && c.action != CommandLine::Action::Dump)
        return usage(QStringLiteral("--fill goes with --export-bmp, --export-png, --print-pdf or --dump"));
    return c;
}

bool IsHeadlessCommandLine(const QStringList& arguments) {
    return ParseCommandLine(arguments).action != CommandLine::Action::OpenWindow;
}

namespace {
// The texts of the recurring dates that select days of the page's month, each appended to the cell
// that shows its day, line by line in file order.
void FillPageFromLines(TCalendarPanel32& page, const QStringList& lines) {
    page.MeasureForPrint();  // lays out this page's cells, so that each day finds its cell
    const int year = page.Settings().MainCalYear, month = page.Settings().MainCalMonth;
    for (const DayText& put : FillPlan(lines, year, month)) {
        const int cell = page.CellOfDay(put.day);
        if (cell > 0) AppendCellParagraph(page, cell, put.text);
    }
}

// The owner of a headless run's objects: a window that is never shown, holding the hidden master
// editor that rich-text labels lay their text out with (a document read without it would lose its
// rich labels and every object after them). The editor is made when the first rich label is read.
struct HeadlessOwner {
    QWidget window;
    HeadlessOwner() { ProvideMasterRichTextOnDemand(&window); }
};

int fail(const QString& message) {
    const QByteArray line = message.simplified().toLocal8Bit();
    std::fprintf(stderr, "plennix: %s\n", line.constData());
    return 1;
}

// Objects of the document that could not be read are missing from what the run writes; as the window
// does when it opens the document, the run says so (on stderr) and still does its work with the rest.
void noteObjectsLeftOut(const TCalendarPanel32& page, const QString& path) {
    const QString notice = ObjectsLeftOutNotice(page, path);
    if (!notice.isEmpty()) std::fprintf(stderr, "plennix: %s\n", notice.simplified().toLocal8Bit().constData());
}

QByteArray cellRtf(const char* text, int colorIndex) {
    return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                      "{\\colortbl;\\red0\\green0\\blue0;\\red192\\green0\\blue0;\\red0\\green0\\blue160;}"
                      "\\pard\\f0\\fs20\\cf") +
           QByteArray::number(colorIndex) + ' ' + QByteArray(text) + "\\par}";
}
}  // namespace

bool CreateSampleCalendar(const QString& path, QString* error) {
    QObject owner;
    TCalendarPanel32 page(nullptr);
    page.SetNamingOwner(&owner);
    page.ResetToDefaults();
    page.SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
    page.SetMainCalYear(2026);
    page.SetMainCalMonth(12);
    page.SetMainCalDay(1);
    page.SetTitleBGColor(RGB(255, 244, 214));
    page.SetHeadersBGColor(RGB(214, 230, 255));
    page.PaintToBitmap();  // lays out the cells so that days can be found
    struct Note {
        int day;
        const char* text;
        int color;
    };
    const Note notes[] = {{4, "Team lunch", 1},   {8, "Dentist 9:30", 3},     {12, "Concert", 2},
                          {17, "Book club", 1},   {21, "Winter solstice", 3}, {24, "Christmas Eve", 2},
                          {25, "Christmas Day", 2}, {31, "New Year's Eve", 2}};
    for (const Note& n : notes) {
        const int cell = page.CellOfDay(n.day);
        if (cell < 1) continue;
        TWPRtfStorage store;
        store.SetRtfData(cellRtf(n.text, n.color));
        page.SetCellRtf(cell, store);
    }
    auto* label = new TGPLabel(&owner);
    label->Loaded();
    label->SetCaption(QStringLiteral("Happy Holidays!"));
    FontRecord font;
    font.name = QStringLiteral("Times New Roman");
    font.setSize(20);
    font.style = fsBold | fsItalic;
    font.color = RGB(160, 0, 0);
    label->SetFont(font);
    label->SetDepthShadow(2);
    label->SetcolorShadow(RGB(200, 200, 200));
    page.AddObject(label, Rect::fromBounds(760, 720, 240, 40));
    label->GrowToFit();
    try {
        page.SaveToFile(path);
    } catch (const StreamError& e) {
        if (error) *error = e.message();
        return false;
    }
    return true;
}

int RunCommandLine(const CommandLine& c) {
    using A = CommandLine::Action;
    if (c.action == A::Usage)
        return fail(c.error + QStringLiteral(
                                  "; usage: plennix --export-bmp OUT.bmp [--zoom Z] DOC.PXF | --export-png OUT.png [--zoom Z] [--months N] DOC.PXF"
                                  " | --print-pdf OUT.pdf [--months N] DOC.PXF | --dump FILE (each with --fill)"
                                  " | --import-ics FILE.ics [--ics-keep-dated] | --export-ics FILE.ics"));
    if (c.action == A::CreateSample) {
        QString error;
        if (!CreateSampleCalendar(c.output, &error)) return fail(error);
        return 0;
    }
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
    const PagePreparer fill = c.fill ? PagePreparer([&recurring](TCalendarPanel32& p) { FillPageFromLines(p, recurring); })
                                     : PagePreparer();
    if (c.action == A::Dump) {
        // A filled document is dumped from a filled copy; the file itself is left as it is.
        QString dumped = c.document;
        QTemporaryDir dir;
        if (c.fill) {
            HeadlessOwner owner;
            TCalendarPanel32 page(nullptr);
            page.SetNamingOwner(&owner.window);
            QString error;
            if (!LoadDocumentIntoPage(page, c.document, &owner.window, &error)) return fail(error);
            noteObjectsLeftOut(page, c.document);
            fill(page);
            dumped = dir.filePath(QFileInfo(c.document).fileName());
            if (!dir.isValid() || !SavePageDocument(page, dumped, &error)) return fail(error);
        }
        try {
            const QByteArray text = DumpCalendarFile(dumped).toUtf8();
            std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
            return 0;
        } catch (const StreamError& e) {
            return fail(c.document + QStringLiteral(": ") + e.message());
        }
    }
    HeadlessOwner owner;
    TCalendarPanel32 page(nullptr);
    page.SetNamingOwner(&owner.window);
    QString error;
    if (!LoadDocumentIntoPage(page, c.document, &owner.window, &error)) return fail(error);
    noteObjectsLeftOut(page, c.document);
    bool ok = false;
    switch (c.action) {
        case A::ExportBmp:
            if (fill) fill(page);
            ok = ExportCalendarBmp(page, c.output, c.zoom, &error);
            break;
        case A::ExportPng:
            ok = WritePagesPng(page, c.output, c.zoom, c.months, &error, fill);
            break;
        case A::PrintPdf:
            ok = WritePagesPdf(page, c.output, c.months, &error, fill);
            break;
        default:
            break;
    }
    return ok ? 0 : fail(error);
}

}  // namespace plennix
