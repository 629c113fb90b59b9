#include <gtest/gtest.h>

#include <QPainter>

#include "calendar/calendar_drawing.h"
#include "calendar/cell_texts.h"

using namespace plennix;

namespace {

int DarkPixels(const QImage& image, const Rect& r) {
    int n = 0;
    for (int y = std::max(0, r.top); y < std::min(image.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(image.width(), r.right); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

}  // namespace

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

// The day-name row: Sunday sits in the first column of a Sunday-first week and in the last of a
// Monday-first one, and the headers style decides how much of the name is shown.
TEST(DayNameRow, ColumnsFollowTheStartOfWeekAndNamesTheStyle) {
    CalendarSettings s;
    s.CalendarLayout = TCalendarLayout::loFullCalendar;
    s.MainCalMonth = 1;
    s.MainCalYear = 1998;
    s.HeadersBorder = TCalBorderStyle::cbNone;
    for (QString& name : s.DayNames) name.clear();
    s.DayNames[0] = "WWWWWW";  // Sunday
    s.HeadersStyle = TCalHeadersStyle::dsWhole;
    LayoutResult layout = ArrangeLayout(s, false, {}, 96);

    // Main (26, 26, 790, 1030): colW 109, day-name row (26, 198, 789, 229); name box j from
    // 26 + 109 j + 1, 107 wide.
    auto box = [](int j) { return Rect(26 + 109 * j + 1, 198, 26 + 109 * j + 108, 229); };
    auto ink = [&](int j) {
        PageDrawState state;
        QImage image = PaintToBitmap(s, layout, 1.0f, state, nullptr, 96);
        EXPECT_EQ(state.dayNameRowRect, Rect(26, 198, 789, 229));
        return DarkPixels(image, box(j));
    };
    s.StartOfWeek = 1;
    EXPECT_GT(ink(0), 20);
    EXPECT_EQ(ink(6), 0);
    s.StartOfWeek = 2;
    EXPECT_EQ(ink(0), 0);
    const int whole = ink(6);
    EXPECT_GT(whole, 20);

    s.HeadersStyle = TCalHeadersStyle::dsThreeChars;
    const int three = ink(6);
    s.HeadersStyle = TCalHeadersStyle::dsFirstChar;
    const int first = ink(6);
    EXPECT_GT(first, 5);
    EXPECT_GT(three, first * 2);
    EXPECT_GT(whole, three + first);
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
