#include <gtest/gtest.h>

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
