#include "app/command_line.h"

#include <QFileInfo>
#include <QObject>
#include <cstdio>

#include "app/document_io.h"
#include "calendar/calendar_dump.h"
#include "calendar/calendar_panel.h"
#include "platform/stream_error.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"

namespace plennix {

CommandLine ParseCommandLine(const QStringList& args) {
    CommandLine c;
    auto usage = [&c](const QString& why) {
        c.action = CommandLine::Action::Usage;
        c.error = why;
        return c;
    };
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto takeOutput = [&](CommandLine::Action action) -> bool {
            if (i + 1 >= args.size()) return false;
            c.action = action;
            c.output = args[++i];
            return true;
        };
        if (a == QLatin1String("--export-bmp")) {
            if (!takeOutput(CommandLine::Action::ExportBmp)) return usage(QStringLiteral("--export-bmp needs a file name"));
        } else if (a == QLatin1String("--export-png")) {
            if (!takeOutput(CommandLine::Action::ExportPng)) return usage(QStringLiteral("--export-png needs a file name"));
        } else if (a == QLatin1String("--print-pdf")) {
            if (!takeOutput(CommandLine::Action::PrintPdf)) return usage(QStringLiteral("--print-pdf needs a file name"));
        } else if (a == QLatin1String("--create-sample")) {
            if (!takeOutput(CommandLine::Action::CreateSample)) return usage(QStringLiteral("--create-sample needs a file name"));
        } else if (a == QLatin1String("--dump")) {
            c.action = CommandLine::Action::Dump;
        } else if (a == QLatin1String("--zoom")) {
            if (i + 1 >= args.size()) return usage(QStringLiteral("--zoom needs a factor"));
            bool ok = false;
            const double z = args[++i].toDouble(&ok);
            if (!ok || !(z >= 0.1 && z <= 8.0)) return usage(QStringLiteral("--zoom needs a factor from 0.1 to 8"));
            c.zoom = static_cast<float>(z);
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option ") + a);
        } else if (c.document.isEmpty()) {
            c.document = a;
        } else {
            return usage(QStringLiteral("more than one document given"));
        }
    }
    if (c.action != CommandLine::Action::OpenWindow && c.action != CommandLine::Action::CreateSample &&
        c.document.isEmpty())
        return usage(QStringLiteral("no document given"));
    return c;
}

namespace {
int fail(const QString& message) {
    const QByteArray line = message.simplified().toLocal8Bit();
    std::fprintf(stderr, "plennix: %s\n", line.constData());
    return 1;
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
                                  "; usage: plennix [--export-bmp OUT.bmp | --export-png OUT.png] [--zoom Z] DOC.PXF"
                                  " | --print-pdf OUT.pdf DOC.PXF | --dump FILE"));
    if (c.action == A::CreateSample) {
        QString error;
        if (!CreateSampleCalendar(c.output, &error)) return fail(error);
        return 0;
    }
    if (!QFileInfo::exists(c.document)) return fail(QStringLiteral("File ") + c.document + QStringLiteral(" does not exist"));
    if (c.action == A::Dump) {
        try {
            const QByteArray text = DumpCalendarFile(c.document).toUtf8();
            std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
            return 0;
        } catch (const StreamError& e) {
            return fail(c.document + QStringLiteral(": ") + e.message());
        }
    }
    QObject owner;
    TCalendarPanel32 page(nullptr);
    page.SetNamingOwner(&owner);
    QString error;
    if (!LoadDocumentIntoPage(page, c.document, &owner, &error)) return fail(error);
    bool ok = false;
    switch (c.action) {
        case A::ExportBmp:
            ok = ExportCalendarBmp(page, c.output, c.zoom, &error);
            break;
        case A::ExportPng:
            ok = ExportPagePng(page, c.output, c.zoom, &error);
            break;
        case A::PrintPdf:
            ok = PrintPagePdf(page, c.output, &error);
            break;
        default:
            break;
    }
    return ok ? 0 : fail(error);
}

}  // namespace plennix
