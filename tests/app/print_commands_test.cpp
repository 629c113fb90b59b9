// The window's printing commands: copies made by the driver or by the program, printing at zoom 1.0
// with the screen's zoom restored (also after a failure midway), the completion messages, the modified
// flag left alone, Save As Bitmap and the printed-page image.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <stdexcept>

#include "app/document_io.h"
#include "app/main_window.h"
#include "objects/super_text.h"
#include "platform/common_dialogs.h"
#include "print_support.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"
#include "test_support.h"

using namespace plennix;
using namespace plennix::test;

namespace {
// An object whose printing fails, as a printer that runs out of paper midway would.
class FailingObject : public TGGraphicControl {
public:
    using TGGraphicControl::TGGraphicControl;
    QString ClassName() const override { return QStringLiteral("TGFailing"); }
    void PrintTo(TReport&, double, double) override { throw std::runtime_error("The printer is out of paper"); }
};

TGPLabel* addLabel(PrintablePage& p, const QString& caption, int left, int top) {
    auto* label = new TGPLabel(&p.owner);
    label->Loaded();
    label->SetCaption(caption);
    p.page.AddObject(label, Rect::fromBounds(left, top, 200, 30));
    label->GrowToFit();
    return label;
}

// The left edge in points of the first word `word` in pdftotext's bounding-box output, or -1.
double wordLeft(const QString& pdf, const QString& word) {
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    for (const QString& line : html.split(QLatin1Char('\n'))) {
        if (!line.contains(QLatin1Char('>') + word + QLatin1Char('<'))) continue;
        const int at = line.indexOf(QLatin1String("xMin=\""));
        if (at >= 0) return line.mid(at + 6, line.indexOf(QLatin1Char('"'), at + 6) - at - 6).toDouble();
    }
    return -1;
}
}  // namespace

TEST(PrintCommands, PrinterCheckCountsThePdfWriter) {
    EXPECT_EQ(PrinterCheckMessage({}, QString()),
              QStringLiteral("There are no installed printers.\r\nUnable to perform printer related operations"));
    EXPECT_EQ(PrinterCheckMessage({QStringLiteral("Laser")}, QString()),
              QStringLiteral("There is no default printer selected.\r\nUnable to perform printer related operations"));
    EXPECT_TRUE(PrinterCheckMessage({QStringLiteral("Laser")}, QStringLiteral("Laser")).isEmpty());
    // Without any system printer the PDF writer is installed and the default: no warning.
    MessageRecorder messages;
    CheckPrintersAtStart(nullptr);
    EXPECT_TRUE(PrinterAvailable());
    EXPECT_TRUE(messages.shown.empty());
}

TEST(PrintCommands, ProposedNames) {
    EXPECT_EQ(ProposedExportName(QString(), QStringLiteral("December"), 1997, QStringLiteral("BMP")),
              QStringLiteral("Dec1997.BMP"));
    EXPECT_EQ(ProposedExportName(QStringLiteral("/home/a/My year.v2.PXF"), QStringLiteral("May"), 2026,
                                 QStringLiteral("BMP")),
              QStringLiteral("My year.v2.BMP"));
}

TEST(PrintCommands, CopiesByTheDriverOrByTheProgram) {
    QTemporaryDir dir;
    PrintablePage p;
    MessageRecorder messages;
    {
        // A driver that makes three copies gets one pass with a copy count of 3.
        const QString pdf = dir.filePath(QStringLiteral("driver.pdf"));
        ScopedPrinter printer(pdf, 3, 3);
        PrintCalendarCommand(nullptr, p.page);
        EXPECT_EQ(printer->jobCopies, 3);
        EXPECT_EQ(PdfPageCount(pdf), 1);
    }
    {
        // A driver limited to one copy: three passes separated by new pages, the driver making one each.
        const QString pdf = dir.filePath(QStringLiteral("program.pdf"));
        ScopedPrinter printer(pdf, 3, 1);
        PrintCalendarCommand(nullptr, p.page);
        EXPECT_EQ(printer->jobCopies, 1);
        EXPECT_EQ(PdfPageCount(pdf), 3);
        EXPECT_EQ(PdfText(pdf, 3).count(QStringLiteral("December 2026")), 1);
    }
    {
        const QString pdf = dir.filePath(QStringLiteral("zero.pdf"));
        ScopedPrinter printer(pdf, 0, 1);  // no copies chosen counts as one
        PrintCalendarCommand(nullptr, p.page);
        EXPECT_EQ(PdfPageCount(pdf), 1);
    }
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Print job completed and sent to printer!"));

    // Cancelling the setup dialog prints nothing and says nothing.
    const QString cancelled = dir.filePath(QStringLiteral("cancelled.pdf"));
    ScopedPrinter printer(cancelled, 1, 1, false);
    PrintCalendarCommand(nullptr, p.page);
    EXPECT_EQ(printer->setups, 1);
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(PdfPageCount(cancelled), -1);
}

TEST(PrintCommands, PrintsAtFullSizeAndRestoresTheScreen) {
    QTemporaryDir dir;
    PrintablePage p;
    QScrollArea area;
    area.setWidget(&p.page);
    addLabel(p, QStringLiteral("Marker"), 384, 300);  // 4 inches from the left at zoom 1.0
    p.page.SetZoom(0.7f);
    int changes = 0;
    p.page.LabelChangedEvent = [&changes](QObject*) { ++changes; };
    MessageRecorder messages;
    const QString pdf = dir.filePath(QStringLiteral("zoomed.pdf"));
    {
        ScopedPrinter printer(pdf, 1, 1);
        PrintCalendarCommand(nullptr, p.page);
    }
    EXPECT_FLOAT_EQ(p.page.Zoom(), 0.7f);
    EXPECT_FALSE(p.page.PaintSuspended());
    EXPECT_FALSE(p.page.Printing());
    EXPECT_TRUE(area.updatesEnabled());
    EXPECT_EQ(changes, 0);  // printing is no change of the document
    EXPECT_TRUE(PdfPageSize(pdf).startsWith(QStringLiteral("612 x 792")));
    // The label prints where it stands at zoom 1.0: 4 inches = 288 points.
    EXPECT_NEAR(wordLeft(pdf, QStringLiteral("Marker")), 288.0, 6.0);
    area.takeWidget();

    // A landscape A4 page prints on landscape A4 paper.
    p.page.SetPaperSize(1);
    p.page.SetCalendarLayout(TCalendarLayout::LOFullCalendarLS);
    p.page.SetCalendarOrientation(TCalendarOrientation::coLandscape);
    const QString a4 = dir.filePath(QStringLiteral("a4.pdf"));
    {
        ScopedPrinter printer(a4, 1, 1);
        PrintCalendarCommand(nullptr, p.page);
    }
    EXPECT_TRUE(PdfPageSize(a4).startsWith(QStringLiteral("842 x 595"))) << PdfPageSize(a4).toStdString();
}

TEST(PrintCommands, FailureMidwayRestoresTheScreenAndSaysWhy) {
    QTemporaryDir dir;
    PrintablePage p;
    // Printed from the document's bytes: the class must read back for its printing to fail.
    RegisterObjectClass(QStringLiteral("TGFailing"), [](QObject* owner) { return new FailingObject(owner); });
    auto* failing = new FailingObject(&p.owner);
    p.page.AddObject(failing, Rect::fromBounds(10, 10, 40, 40));
    p.page.SetZoom(0.6f);
    MessageRecorder messages;
    ScopedPrinter printer(dir.filePath(QStringLiteral("failed.pdf")), 2, 1);
    PrintCalendarCommand(nullptr, p.page);
    EXPECT_FLOAT_EQ(p.page.Zoom(), 0.6f);
    EXPECT_FALSE(p.page.PaintSuspended());
    EXPECT_FALSE(p.page.Printing());
    ASSERT_EQ(messages.shown.size(), 1u);  // the failure, not the completion
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.lastText(), QStringLiteral("The printer is out of paper"));

    // An export that fails leaves no file behind; a run of months puts the document's month back.
    const QString pdf = dir.filePath(QStringLiteral("export.pdf"));
    ScopedHook files(SetFileChooser, [&](const FileDialogRequest&, QWidget*) { return pdf; });
    ExportPdfCommand(nullptr, p.page);
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.lastText().contains(pdf));
    ScopedHook dialogs(SetModalDialogRunner, [](QDialog&) { return int(QDialog::Accepted); });
    PrintMonthsCommand(nullptr, p.page);
    EXPECT_EQ(p.page.Settings().MainCalMonth, 12);
    EXPECT_EQ(p.page.Settings().MainCalYear, 2026);
    EXPECT_FLOAT_EQ(p.page.Zoom(), 0.6f);
    EXPECT_EQ(messages.shown.size(), 3u);
}

TEST(PrintCommands, ADesignWithSuperTextEndsWithTheLongerMessage) {
    QTemporaryDir dir;
    PrintablePage p;
    auto* text = new TGSuperText(&p.owner);
    p.page.AddObject(text, Rect::fromBounds(100, 100, 200, 80));
    MessageRecorder messages;
    ScopedPrinter printer(dir.filePath(QStringLiteral("super.pdf")), 1, 1);
    PrintCalendarCommand(nullptr, p.page);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Print job completed and sent to printer!\r\rNote: this design contains "
                             "complex shapes or text.\rPlease be patient while the printer "
                             "produces its\routput..."));
}

TEST(PrintCommands, ModifiedFlagSurvivesAPrint) {
    QTemporaryDir dir;
    MessageRecorder messages;
    TCalendarMain window;
    for (const bool modified : {true, false}) {
        window.SetModified(modified);
        ScopedPrinter printer(dir.filePath(QStringLiteral("window%1.pdf").arg(modified)), 1, 1);
        PrintCalendarCommand(&window, *window.CalendarPanel());
        EXPECT_EQ(window.Modified(), modified);
        EXPECT_EQ(PdfPageCount(dir.filePath(QStringLiteral("window%1.pdf").arg(modified))), 1);
    }
}

TEST(PrintCommands, SaveAsBitmapFollowsTheScreenZoom) {
    QTemporaryDir dir;
    PrintablePage p;
    MessageRecorder messages;
    FileDialogRequest asked;
    QString answer;
    ScopedHook files(SetFileChooser, [&](const FileDialogRequest& r, QWidget*) {
        asked = r;
        return answer;
    });
    answer = dir.filePath(QStringLiteral("full.BMP"));
    SaveAsBitmapCommand(nullptr, p.page);
    EXPECT_EQ(asked.title, QStringLiteral("Save Calendar As Bitmap"));
    EXPECT_EQ(asked.proposedName, QStringLiteral("Dec2026.BMP"));
    EXPECT_EQ(asked.defaultSuffix, QStringLiteral("BMP"));
    p.page.SetZoom(0.6f);
    answer = dir.filePath(QStringLiteral("small.BMP"));
    SaveAsBitmapCommand(nullptr, p.page);
    const QImage full(dir.filePath(QStringLiteral("full.BMP"))), small(answer);
    ASSERT_FALSE(full.isNull());
    ASSERT_FALSE(small.isNull());
    EXPECT_NEAR(small.width(), full.width() * 0.6, 1.0);
    EXPECT_NEAR(small.height(), full.height() * 0.6, 1.0);
    EXPECT_FLOAT_EQ(p.page.Zoom(), 0.6f);
    EXPECT_TRUE(messages.shown.empty());

    // A file that cannot be written is reported with its name; cancelling writes nothing.
    answer = dir.filePath(QStringLiteral("no/such/folder/x.BMP"));
    SaveAsBitmapCommand(nullptr, p.page);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.lastText().contains(answer));
    answer.clear();
    SaveAsBitmapCommand(nullptr, p.page);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(PrintCommands, PngAtAChosenResolutionAndPreview) {
    QTemporaryDir dir;
    PrintablePage p;
    p.page.SetZoom(0.7f);
    MessageRecorder messages;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    ScopedHook files(SetFileChooser, [&](const FileDialogRequest&, QWidget*) { return png; });
    int previewPages = -1;
    ScopedHook dialogs(SetModalDialogRunner, [&](QDialog& d) {
        if (auto* dpi = d.findChild<QSpinBox*>(QStringLiteral("ResolutionEdit"))) dpi->setValue(150);
        if (auto* preview = d.findChild<QPrintPreviewWidget*>()) {
            preview->updatePreview();
            previewPages = preview->pageCount();
            return int(QDialog::Rejected);
        }
        return int(QDialog::Accepted);
    });
    ExportPngCommand(nullptr, p.page);
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1275, 1650));  // Letter at 150 pixels per inch
    EXPECT_GT(DarkPixels(image), 1000);
    EXPECT_FLOAT_EQ(p.page.Zoom(), 0.7f);

    PrintPreviewCommand(nullptr, p.page);
    EXPECT_EQ(previewPages, 1);
    EXPECT_FLOAT_EQ(p.page.Zoom(), 0.7f);
    EXPECT_TRUE(messages.shown.empty());
}

// A page that was never shown prints its cell texts exactly as one that was painted on screen first.
TEST(PrintCommands, UnshownPagePrintsCellTextsAsAShownOne) {
    auto putTexts = [](TCalendarPanel32& page) {
        TWPRtfStorage store;
        store.SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs28 Winter solstice party at eight\\par}");
        for (int cell : {10, 24, 33}) page.SetCellRtf(cell, store);
    };
    PrintablePage shown;
    putTexts(shown.page);
    shown.page.PaintToBitmap();
    // A fresh page: no screen pass has laid out its cells.
    QObject owner;
    TCalendarPanel32 fresh(nullptr);
    fresh.SetNamingOwner(&owner);
    fresh.ResetToDefaults();
    fresh.SetCalendarLayout(TCalendarLayout::loFullCalendar);
    fresh.SetMainCalYear(2026);
    fresh.SetMainCalMonth(12);
    fresh.SetMainCalDay(1);
    fresh.SetTitleShowYear(true);
    putTexts(fresh);
    ASSERT_TRUE(fresh.DrawState().cell1Text.isEmpty());

    const QImage a = RenderPrintedPage(shown.page.Page(), 100), b = RenderPrintedPage(fresh.Page(), 100);
    ASSERT_FALSE(a.isNull());
    EXPECT_GT(DarkPixels(a), 1000);
    EXPECT_TRUE(a == b);
}

namespace {
// Groups of neighbouring rows (or columns) of `image` in which more than `minRun` pixels are dark: the
// long lines drawn across the picture.
int LongLines(const QImage& image, bool rows, int minRun) {
    int lines = 0;
    bool inLine = false;
    const int n = rows ? image.height() : image.width();
    const int m = rows ? image.width() : image.height();
    for (int i = 0; i < n; ++i) {
        int dark = 0;
        for (int j = 0; j < m; ++j) dark += qGray(rows ? image.pixel(j, i) : image.pixel(i, j)) < 160;
        const bool line = dark > minRun;
        if (line && !inLine) ++lines;
        inLine = line;
    }
    return lines;
}
}  // namespace

// The preview scales a page printed at the printer's resolution far down; lines one printer dot wide
// must still show there, as every line of the day grid shows on paper and in the PDF.
TEST(PrintCommands, PreviewShowsEveryGridLine) {
    PrintablePage p;
    QImage shown;
    ScopedHook dialogs(SetModalDialogRunner, [&](QDialog& d) {
        if (auto* preview = d.findChild<QPrintPreviewWidget*>()) {
            d.resize(700, 900);
            d.show();
            preview->updatePreview();
            preview->fitInView();
            QCoreApplication::processEvents();
            shown = preview->grab().toImage();
        }
        return int(QDialog::Rejected);
    });
    PrintPreviewCommand(nullptr, p.page);
    ASSERT_FALSE(shown.isNull());
    // The day area: 7 lines across (6 weeks) and 8 down (7 days), each running most of the way.
    const int across = LongLines(shown, true, shown.width() / 2);
    const int down = LongLines(shown, false, shown.height() / 3);
    EXPECT_GE(across, 7);
    EXPECT_GE(down, 8);
}
