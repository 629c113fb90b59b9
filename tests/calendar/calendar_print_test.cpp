#include <gtest/gtest.h>

#include <QPainter>

#include "calendar/calendar_drawing.h"
#include "calendar/calendar_print.h"
#include "calendar/cell_texts.h"
#include "common/test_support.h"

using namespace plennix;
using plennix::test::PixelColor;

namespace {

int DarkPixels(const QImage& image, const Rect& r) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(image.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(image.width(), r.right); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

CalendarSettings April1998() {
    CalendarSettings s;
    s.CalendarLayout = TCalendarLayout::loFullCalendar;
    s.MainCalMonth = 4;
    s.MainCalYear = 1998;
    return s;
}

}  // namespace

TEST(CellTexts, RichTextLandsInTheCellsThatHoldIt) {
    CalendarSettings s = April1998();
    LayoutResult layout = ArrangeLayout(s, false, {}, 96);
    CellStores stores;
    EXPECT_FALSE(HasCellText(stores));
    stores[9].SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 Dentist at ten\\par}");
    EXPECT_TRUE(HasCellText(stores));
    TWPRtfRenderer renderer;
    CellTextPainter texts = MakeCellTextPainter(stores, renderer);
    PageDrawState state;
    QImage image = PaintToBitmap(s, layout, 1.0f, state, &texts, 96);
    EXPECT_GT(DarkPixels(image, state.cells[9].rFree), 30);
    // Cell 11 holds day 8 of April 1998 and no text: only its number, above rFree.
    EXPECT_EQ(DarkPixels(image, state.cells[10].rFree), 0);

    // Texts belong to slots: a centred page takes none.
    s.NumberPosition = TCalendarNumberPosition::cnpCenter;
    QImage centred = PaintToBitmap(s, layout, 1.0f, state, &texts, 96);
    const Rect cell10 = state.cells[9].rTotal;
    EXPECT_LT(DarkPixels(centred, cell10), DarkPixels(image, cell10));
}

TEST(CalendarPrint, ReportDeviceUnitsAndOrientation) {
    CalendarSettings s = April1998();
    s.CalendarLayout = TCalendarLayout::lo2Week;
    s.MainCalDay = 20;
    LayoutResult layout = ArrangeLayout(s, false, {}, 96);
    PageDrawState screen;
    PaintToBitmap(s, layout, 1.0f, screen, nullptr, 96);

    QImage page(816 * 2, 1056 * 2, QImage::Format_RGB32);
    page.setDotsPerMeterX(7559);  // 192 pixels per inch
    page.setDotsPerMeterY(7559);
    page.fill(Qt::white);
    TReport report;
    report.SetDevice(&page);
    ApplyPrinterOrientation(report, s);
    EXPECT_EQ(report.Orientation(), ReportOrientation::poPortrait);
    ASSERT_TRUE(report.BeginDoc());
    ASSERT_EQ(report.YDpi(), 192);
    PageDrawState printed;
    PrintPage(report, s, layout, screen.cell1Text, 0.0, 0.0, printed);
    report.EndDoc();

    // Main rectangle (26, 26, 790, 1030) in inches, then device pixels at 192.
    EXPECT_EQ(printed.cells[0].iDay, 20);
    EXPECT_EQ(printed.cells[14].iDay, 0);  // Notes
    EXPECT_EQ(printed.cells[14].rTotal.bottom, 2060 - 1 - 4);
    EXPECT_EQ(printed.titleRect.left, 52 + 5);
    // The planner's title band is 1.6 line heights of the title font.
    EXPECT_GT(printed.titleRect.height(), 100);
    EXPECT_GT(DarkPixels(page, printed.titleRect), 200);
    EXPECT_EQ(PixelColor(page, 1000, printed.cells[0].rTotal.bottom + 4), clBlack);  // row separator

    s.CalendarLayout = TCalendarLayout::loMC24MonthLS;
    ArrangeLayout(s, false, layout, 96);
    ApplyPrinterOrientation(report, s);
    EXPECT_EQ(report.Orientation(), ReportOrientation::poLandscape);
}

TEST(CalendarPrint, LongTextsAreShortenedFromTheEnd) {
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    Canvas c(&painter);
    SelectFont(c, DrawFont{"Times New Roman", 12, 0, clBlack}, 96);
    const QString longName = "Aprilaprilaprilaprilaprilapril";
    const QString cut = ShortenToFit(c, longName, 60);
    ASSERT_FALSE(cut.isEmpty());
    EXPECT_TRUE(longName.startsWith(cut));
    EXPECT_LE(c.TextWidth(cut), 60);
    EXPECT_GT(c.TextWidth(longName.left(cut.size() + 1)), 60);
    EXPECT_EQ(ShortenToFit(c, "May", 60), "May");
    EXPECT_EQ(ShortenToFit(c, "May", 0), "");
}

// The printer lays each cell text out in the kept cell-1 rectangle of the last screen pass, which has
// the screen zoom's size; the text must be laid out at that zoom too, or a page shown at 50 % prints
// its texts twice as large (and wrapped at half the width).
TEST(PrintedCellTexts, DoNotDependOnTheScreenZoom) {
    CalendarSettings s;
    s.CalendarLayout = TCalendarLayout::loFullCalendar;
    s.MainCalMonth = 4;
    s.MainCalYear = 1998;
    LayoutResult layout = ArrangeLayout(s, false, {}, 96);
    CellStores stores;
    stores[9].SetRtfData("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dentist at ten, then lunch\\par}");
    TWPRtfRenderer renderer;
    const CellTextPainter texts = MakeCellTextPainter(stores, renderer);

    auto printedInk = [&](float screenZoom) {
        PageDrawState screen;
        PaintToBitmap(s, layout, screenZoom, screen, &texts, 96);
        QImage device(816 * 2, 1056 * 2, QImage::Format_RGB32);
        device.fill(Qt::white);
        PageDrawState printed;
        {
            QPainter painter(&device);
            Canvas c(&painter);
            PrintTarget target;
            target.devicePpi = 192;
            PrintCalendarPage(c, s, layout, target, screen.cell1Text, printed, &texts, 96);
        }
        return DarkPixels(device, printed.cells[9].rFree);
    };
    const int full = printedInk(1.0f);
    const int half = printedInk(0.5f);
    ASSERT_GT(full, 50);
    EXPECT_LT(half, full * 3 / 2);
    EXPECT_GT(half, full * 2 / 3);
}

namespace {

// Prints the page at 192 pixels per inch onto a grey sheet, so that what the printer leaves unfilled
// stays grey.
QImage PrintOnGrey(const CalendarSettings& s, PageDrawState& printed) {
    CalendarSettings copy = s;
    LayoutResult layout = ArrangeLayout(copy, false, {}, 96);
    PageDrawState screen;
    PaintToBitmap(copy, layout, 1.0f, screen, nullptr, 96);
    QImage device(layout.width * 2, layout.height * 2, QImage::Format_RGB32);
    device.fill(QColor(128, 128, 128));
    QPainter painter(&device);
    Canvas c(&painter);
    PrintTarget target;
    target.devicePpi = 192;
    PrintCalendarPage(c, copy, layout, target, screen.cell1Text, printed, nullptr, 96);
    return device;
}

TColor At(const QImage& image, int x, int y) { return fromQColor(QColor(image.pixel(x, y))); }

}  // namespace

TEST(PrintedPage, TitleBandMinimumAndWhatIsFilled) {
    CalendarSettings s;
    s.CalendarLayout = TCalendarLayout::LOFullCalendarLS;
    s.MainCalMonth = 1;
    s.MainCalYear = 1998;
    PageDrawState printed;
    QImage white = PrintOnGrey(s, printed);
    // Main (26, 26, 1030, 790) at 192: (52, 52, 2060, 1580). 0.17 of the calendar is less than
    // 1.5 in, so the band is 288 device pixels high; the click rectangle keeps the 0.17.
    EXPECT_EQ(printed.titleRect, Rect(52, 53, 2059, 53 + 259));
    EXPECT_EQ(printed.dayNameRowRect.top, 53 + 288 + 1);
    // The calendar's page background is filled (the sheet's grey is gone), the band with it.
    EXPECT_EQ(At(white, 60, 60), clWhite);
    const Rect c20 = printed.cells[19].rTotal;
    EXPECT_EQ(At(white, (c20.left + c20.right) / 2, c20.bottom - 3), clWhite);

    s.TitleBGColor = clRed;
    QImage red = PrintOnGrey(s, printed);
    EXPECT_EQ(At(red, 60, 60), clRed);
    EXPECT_EQ(At(red, 60, 53 + 288), clRed);  // one pixel below the band, as on the screen

    // Planners fill only their label column.
    s.CalendarLayout = TCalendarLayout::loWeek;
    s.MainCalDay = 5;
    s.HeadersBGColor = clYellow;
    QImage week = PrintOnGrey(s, printed);
    const Rect cell = printed.cells[2].rTotal;
    EXPECT_EQ(At(week, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2), RGB(128, 128, 128));
    EXPECT_EQ(At(week, 56, (cell.top + cell.bottom) / 2), clYellow);
    EXPECT_EQ(At(week, 1000, printed.titleRect.top + 2), RGB(128, 128, 128));
}
