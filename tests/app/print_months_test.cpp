// Runs of consecutive pages (Print Months, --months) and the PDF the command line writes: dates advance
// by the layout's span, cell texts stay on the document's own page, and the document comes back as it
// was.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/command_line.h"
#include "app/document_io.h"
#include "app/month_pages.h"
#include "app/sample_calendar.h"
#include "calendar/calendar_page.h"
#include "platform/common_dialogs.h"
#include "print_support.h"
#include "recurring/formula.h"
#include "recurring/store.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

namespace {
CommandLine parse(QStringList args) {
    args.prepend(QStringLiteral("plennix"));
    return ParseCommandLine(args);
}

void putText(TCalendarPanel32& page, int day, const char* text) {
    TWPRtfStorage store;
    store.SetRtfData(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + text + "\\par}");
    page.SetCellRtf(page.CellOfDay(day), store);
}
}  // namespace

TEST(PrintMonths, DatesAdvanceByTheLayoutsSpan) {
    const PageDate jan31{2027, 1, 31};
    EXPECT_EQ(AdvancePageDate(0, jan31, 1), (PageDate{2027, 2, 28}));
    EXPECT_EQ(AdvancePageDate(0, {2027, 11, 30}, 3), (PageDate{2028, 2, 29}));
    EXPECT_EQ(AdvancePageDate(1, {2026, 12, 1}, 13), (PageDate{2028, 1, 1}));
    EXPECT_EQ(AdvancePageDate(2, {2026, 12, 28}, 1), (PageDate{2027, 1, 4}));   // a week
    EXPECT_EQ(AdvancePageDate(3, {2026, 12, 28}, 2), (PageDate{2027, 1, 25}));  // two weeks each
    EXPECT_EQ(AdvancePageDate(4, {2026, 12, 31}, 1), (PageDate{2027, 1, 1}));   // a day
    EXPECT_EQ(AdvancePageDate(5, {2024, 2, 28}, 1), (PageDate{2024, 2, 29}));
    EXPECT_EQ(AdvancePageDate(0, jan31, 0), jan31);
}

TEST(PrintMonths, TwelveMonthsAcrossTheNewYearWithTextsOnTheOwnMonthOnly) {
    QTemporaryDir dir;
    PrintablePage p;
    p.page.SetMainCalMonth(11);
    p.page.PaintToBitmap();
    putText(p.page, 12, "Dentist");
    p.page.SetUserTitle(QString());
    const CellStores before = p.page.Cells();
    int changes = 0;
    p.page.LabelChangedEvent = [&changes](QObject*) { ++changes; };

    const QString pdf = dir.filePath(QStringLiteral("year.pdf"));
    QString error;
    ASSERT_TRUE(WritePagesPdf(p.page.Page(), pdf, 12, &error)) << error.toStdString();
    ASSERT_EQ(PdfPageCount(pdf), 12);
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("November 2026")));
    EXPECT_TRUE(PdfText(pdf, 2).contains(QStringLiteral("December 2026")));
    EXPECT_TRUE(PdfText(pdf, 3).contains(QStringLiteral("January 2027")));
    EXPECT_TRUE(PdfText(pdf, 12).contains(QStringLiteral("October 2027")));
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("Dentist")));
    EXPECT_EQ(PdfText(pdf).count(QStringLiteral("Dentist")), 1);

    // The document is as it was: its month, its texts, no change reported.
    EXPECT_EQ(p.page.Settings().MainCalMonth, 11);
    EXPECT_EQ(p.page.Settings().MainCalYear, 2026);
    EXPECT_FALSE(p.page.CellRtf(p.page.CellOfDay(12))->IsEmpty());
    for (int i = 0; i < kCellCount; ++i)
        EXPECT_EQ(p.page.Cells()[static_cast<size_t>(i)].RtfData(), before[static_cast<size_t>(i)].RtfData());
    EXPECT_EQ(changes, 0);
}

// A run draws copies of the document: the page on screen is the same at every moment of the run, its
// bytes, zoom, size and month, whichever output makes the run (PDF and PNG as the command line writes
// them, Print Months in the window), and no change is reported.
TEST(PrintMonths, TheOpenPageIsNeverChangedDuringARun) {
    QTemporaryDir dir;
    ASSERT_TRUE(SaveRecurringDates({BuildEntry(QStringLiteral("Payday"), BuildDayOfMonth(15, 0))}));
    const QStringList lines = *LoadRecurringDates(nullptr);
    PrintablePage p;
    putText(p.page, 12, "Dentist");
    p.page.SetUserTitle(QStringLiteral("Our year"));
    auto* label = new TGPLabel(&p.owner);
    label->Loaded();
    label->SetCaption(QStringLiteral("Greetings"));
    p.page.AddObject(label, Rect::fromBounds(300, 700, 200, 40));
    p.page.SetZoom(0.7f);
    p.page.PaintToBitmap();  // the screen pass at the window's zoom
    const QByteArray before = p.page.SaveToBytes();
    const QSize size = p.page.size();
    int changes = 0;
    p.page.LabelChangedEvent = [&changes](QObject*) { ++changes; };
    auto unchanged = [&] {
        EXPECT_EQ(p.page.SaveToBytes(), before);
        EXPECT_FLOAT_EQ(p.page.Zoom(), 0.7f);
        EXPECT_EQ(p.page.size(), size);
        EXPECT_EQ(p.page.Settings().MainCalMonth, 12);
    };
    int prepared = 0;
    const PagePreparer fill = [&](TCalendarPage& month) {
        ++prepared;
        unchanged();
        FillPageWithRecurringDates(month, lines);
    };

    const QString pdf = dir.filePath(QStringLiteral("year.pdf"));
    QString error;
    ASSERT_TRUE(WritePagesPdf(p.page.Page(), pdf, 12, &error, fill)) << error.toStdString();
    ASSERT_EQ(PdfPageCount(pdf), 12);
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("Our year")));
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("Dentist")));
    EXPECT_TRUE(PdfText(pdf, 12).contains(QStringLiteral("November 2027")));
    EXPECT_EQ(PdfText(pdf).count(QStringLiteral("Payday")), 12);
    EXPECT_EQ(PdfText(pdf).count(QStringLiteral("Greetings")), 12);
    EXPECT_EQ(PdfText(pdf).count(QStringLiteral("Dentist")), 1);

    const QString png = dir.filePath(QStringLiteral("year.png"));
    ASSERT_TRUE(WritePagesPng(p.page.Page(), png, 0.5f, 12, &error, fill)) << error.toStdString();
    const QImage first(NumberedPageFile(png, 0, 12)), last(NumberedPageFile(png, 11, 12));
    EXPECT_EQ(first.size(), QSize(p.page.Layout().PanelWidth(0.5f), p.page.Layout().PanelHeight(0.5f)));
    EXPECT_FALSE(last.isNull());
    EXPECT_NE(first, last);
    EXPECT_EQ(prepared, 24);

    MessageRecorder messages;
    ScopedHook dialogs(SetModalDialogRunner, [](QDialog& d) {
        auto& months = static_cast<TPrintMonthsDialog&>(d);
        months.SetMonths(12);
        months.SetFillMonths(true);
        return int(QDialog::Accepted);
    });
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    {
        ScopedPrinter printer(printed, 1, 1);
        PrintMonthsCommand(nullptr, p.page);
    }
    EXPECT_EQ(PdfPageCount(printed), 12);
    EXPECT_EQ(PdfText(printed).count(QStringLiteral("Payday")), 12);
    unchanged();
    EXPECT_EQ(changes, 0);
}

TEST(PrintMonths, WindowCommandPrintsTheChosenRun) {
    QTemporaryDir dir;
    PrintablePage p;
    p.page.SetCalendarLayout(TCalendarLayout::loWeek);
    p.page.SetMainCalDay(28);
    MessageRecorder messages;
    ScopedHook dialogs(SetModalDialogRunner, [](QDialog& d) {
        static_cast<TPrintMonthsDialog&>(d).SetMonths(3);
        return int(QDialog::Accepted);
    });
    const QString pdf = dir.filePath(QStringLiteral("weeks.pdf"));
    {
        ScopedPrinter printer(pdf, 2, 1);  // two copies by the program: the run twice
        PrintMonthsCommand(nullptr, p.page);
    }
    EXPECT_EQ(PdfPageCount(pdf), 6);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Print job completed and sent to printer!"));
    EXPECT_EQ(p.page.Settings().MainCalDay, 28);
    EXPECT_EQ(p.page.Settings().MainCalMonth, 12);
}

TEST(PrintMonths, EachMonthFilledWithRecurringDates) {
    QTemporaryDir dir;
    ASSERT_TRUE(SaveRecurringDates({BuildEntry(QStringLiteral("Payday"), BuildDayOfMonth(15, 0)),
                                    BuildEntry(QStringLiteral("New Year"), BuildDayOfMonth(1, 1))}));
    PrintablePage p;
    putText(p.page, 15, "Dentist");
    MessageRecorder messages;
    ScopedHook dialogs(SetModalDialogRunner, [](QDialog& d) {
        auto& months = static_cast<TPrintMonthsDialog&>(d);
        months.SetMonths(3);
        months.SetFillMonths(true);
        return int(QDialog::Accepted);
    });
    const QString pdf = dir.filePath(QStringLiteral("filled.pdf"));
    {
        ScopedPrinter printer(pdf, 1, 1);
        PrintMonthsCommand(nullptr, p.page);
    }
    ASSERT_EQ(PdfPageCount(pdf), 3);
    for (int page = 1; page <= 3; ++page) EXPECT_EQ(PdfText(pdf, page).count(QStringLiteral("Payday")), 1) << page;
    EXPECT_TRUE(PdfText(pdf, 1).contains(QStringLiteral("Dentist")));  // the own text stays, the fill follows it
    EXPECT_FALSE(PdfText(pdf, 1).contains(QStringLiteral("New Year")));
    EXPECT_TRUE(PdfText(pdf, 2).contains(QStringLiteral("New Year")));
    // The document's cells are as they were (seen after the repaint that follows a print).
    p.page.PaintToBitmap();
    const QString own = QString::fromLatin1(p.page.CellRtf(p.page.CellOfDay(15))->RtfData());
    EXPECT_TRUE(own.contains(QStringLiteral("Dentist")));
    EXPECT_FALSE(own.contains(QStringLiteral("Payday")));
}

TEST(PrintMonths, CommandLineMonthsAndPdfText) {
    CommandLine c = parse({"--print-pdf", "out.pdf", "--months", "12", "doc.PXF"});
    EXPECT_EQ(c.action, CommandLine::Action::PrintPdf);
    EXPECT_EQ(c.months, 12);
    EXPECT_EQ(parse({"--print-pdf", "o.pdf", "--months", "0", "d.PXF"}).action, CommandLine::Action::Usage);
    EXPECT_EQ(parse({"--print-pdf", "o.pdf", "--months", "x", "d.PXF"}).action, CommandLine::Action::Usage);
    EXPECT_EQ(parse({"--export-bmp", "o.bmp", "--months", "2", "d.PXF"}).action, CommandLine::Action::Usage);
    EXPECT_EQ(parse({"--export-png", "o.png", "--months"}).action, CommandLine::Action::Usage);

    QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("Sample.PXF"));
    ASSERT_TRUE(CreateSampleCalendar(doc, nullptr));
    const QString pdf = dir.filePath(QStringLiteral("one.pdf"));
    ASSERT_EQ(RunCommandLine(parse({"--print-pdf", pdf, doc})), 0);
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("December 2026")));
    EXPECT_TRUE(text.contains(QStringLiteral("Christmas Day")));
    for (const char* day : {"1", "15", "31"})
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(day))));
    // Fonts are embedded.
    const QStringList fonts = runTool(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(fonts.size(), 2);
    for (int i = 2; i < fonts.size(); ++i) {
        const QStringList columns = fonts[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 5);
        EXPECT_EQ(columns[columns.size() - 5], QStringLiteral("yes")) << fonts[i].toStdString();  // "emb"
    }

    const QString png = dir.filePath(QStringLiteral("month.png"));
    ASSERT_EQ(RunCommandLine(parse({"--export-png", png, "--months", "3", "--zoom", "0.5", doc})), 0);
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("month-0%1.png").arg(i))));
    EXPECT_FALSE(QFile::exists(png));
    EXPECT_EQ(NumberedPageFile(QStringLiteral("a/b.png"), 0, 1), QStringLiteral("a/b.png"));
}

// The page drawn apart from the window is the page on screen to the pixel: calendar, cell texts, grid
// clipped to the page's shape and placed objects, at the window's zoom.
TEST(PrintMonths, APageImageIsThePageOnScreen) {
    PrintablePage p;
    putText(p.page, 24, "Christmas Eve");
    auto* label = new TGPLabel(&p.owner);
    label->Loaded();
    label->SetCaption(QStringLiteral("Season's greetings"));
    p.page.AddObject(label, Rect::fromBounds(300, 200, 200, 40));
    p.page.SetZoom(0.75f);
    p.page.SetShape(lsEllipse);
    p.page.SetGridSize(gs8x8);
    p.page.SetShowGrid(true);
    const QImage screen = p.page.RenderPage();

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    QString error;
    ASSERT_TRUE(WritePagesPng(p.page.Page(), png, 0.75f, 1, &error)) << error.toStdString();
    const QImage written = QImage(png).convertToFormat(screen.format());
    ASSERT_EQ(written.size(), screen.size());
    EXPECT_TRUE(written == screen);
}
