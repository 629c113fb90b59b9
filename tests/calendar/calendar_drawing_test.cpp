#include <gtest/gtest.h>

#include <QPainter>
#include <set>

#include "calendar/calendar_drawing.h"
#include "common/test_support.h"

using namespace plennix;
using plennix::test::PixelColor;
using L = TCalendarLayout;
using enum TCalBorderStyle;

namespace {

struct Rendered {
    CalendarSettings s;
    LayoutResult layout;
    PageDrawState state;
    QImage image;
};

CalendarSettings MonthPage(L layout = L::loFullCalendar) {
    CalendarSettings s;
    s.CalendarLayout = layout;
    s.MainCalMonth = 1;
    s.MainCalYear = 1998;
    return s;
}

Rendered Render(const CalendarSettings& settings, float zoom = 1.0f, const CellTextPainter* texts = nullptr) {
    Rendered r;
    r.s = settings;
    r.layout = ArrangeLayout(r.s, false, {}, 96);
    r.image = PaintToBitmap(r.s, r.layout, zoom, r.state, texts, 96);
    return r;
}

int DarkPixels(const QImage& image, const Rect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (qGray(image.pixel(x, y)) < 128) ++n;
    return n;
}

}  // namespace

TEST(MonthDrawing, GridLinesFollowTheCellBorderStyle) {
    CalendarSettings s = MonthPage();
    s.HeadersBorder = cbNone;
    s.CalendarBorder = cbNone;
    // Main rectangle (26, 26, 790, 1030): E = 229, F = 1029, rowH 133, colW 109.
    const int x = 80, E = 229, F = 1029, midRow = 229 + 60;

    s.CellBorder = cbAll;
    Rendered all = Render(s);
    EXPECT_EQ(PixelColor(all.image, x, E), clBlack);
    EXPECT_EQ(PixelColor(all.image, x, E + 133), clBlack);
    EXPECT_EQ(PixelColor(all.image, x, F), clBlack);
    EXPECT_EQ(PixelColor(all.image, 26 + 109, midRow), clBlack);
    EXPECT_EQ(PixelColor(all.image, 789, midRow), clBlack);
    EXPECT_EQ(PixelColor(all.image, x, E + 1), clWhite);

    s.CellBorder = cbBottom;
    Rendered bottom = Render(s);
    EXPECT_EQ(PixelColor(bottom.image, x, E), clWhite);
    EXPECT_EQ(PixelColor(bottom.image, x, E + 133), clBlack);
    EXPECT_EQ(PixelColor(bottom.image, x, F), clBlack);
    EXPECT_EQ(PixelColor(bottom.image, 26 + 109, midRow), clWhite);

    s.CellBorder = cbTop;
    Rendered top = Render(s);
    EXPECT_EQ(PixelColor(top.image, x, E), clBlack);
    EXPECT_EQ(PixelColor(top.image, x, E + 5 * 133), clBlack);
    EXPECT_EQ(PixelColor(top.image, x, F), clWhite);

    s.CellBorder = cbNone;
    Rendered none = Render(s);
    EXPECT_EQ(PixelColor(none.image, x, E + 133), clWhite);
    EXPECT_EQ(PixelColor(none.image, x, F), clWhite);

    // The frame in its own style.
    s.CalendarBorder = cbAll;
    Rendered framed = Render(s);
    EXPECT_EQ(PixelColor(framed.image, 26, 500), clBlack);
    EXPECT_EQ(PixelColor(framed.image, 789, 500), clBlack);
    EXPECT_EQ(PixelColor(framed.image, 400, 26), clBlack);
    EXPECT_EQ(PixelColor(framed.image, 400, 1029), clBlack);
}

TEST(MonthDrawing, TitleBandHeadersAndDayNumbers) {
    CalendarSettings s = MonthPage();
    s.TitleBGColor = clRed;
    s.HeadersBGColor = clYellow;
    Rendered r = Render(s);
    // Title band (26, 27, 789, 197) filled one pixel lower than itself.
    EXPECT_EQ(PixelColor(r.image, 30, 30), clRed);
    EXPECT_EQ(PixelColor(r.image, 30, 197), clRed);
    EXPECT_EQ(PixelColor(r.image, 30, 200), clYellow);
    EXPECT_EQ(r.state.titleRect, Rect(26, 27, 789, 197));
    EXPECT_EQ(r.state.dayNameRowRect, Rect(26, 198, 789, 229));
    EXPECT_GT(DarkPixels(r.image, Rect(200, 60, 600, 170)), 100);  // "January 1998"

    // January 1998 begins on a Thursday: cell 5 shows 1, cells 1..4 are blank.
    EXPECT_EQ(r.state.cells[4].iDay, 1);
    EXPECT_EQ(r.state.cells[0].iDay, 0);
    EXPECT_EQ(r.state.cells[34].iDay, 31);
    EXPECT_EQ(r.state.cells[35].iDay, 0);
    const Rect c5 = r.state.cells[4].rTotal;
    EXPECT_EQ(c5, Rect(26 + 4 * 109 + 5, 230, 26 + 4 * 109 + 103, 361));
    EXPECT_NEAR(r.state.cells[4].rFree.top - c5.top, 24, 6);  // the height of "9"
    EXPECT_EQ(r.state.cells[4].rFree.bottom, c5.bottom);
    EXPECT_EQ(r.state.cell1Text.right, r.state.cells[0].rFree.right + 5);
    // Upper-right number: ink in the top right of cell 5, none in the blank cell 1.
    EXPECT_GT(DarkPixels(r.image, Rect(c5.right - 25, c5.top, c5.right, c5.top + 25)), 5);
    EXPECT_EQ(DarkPixels(r.image, r.state.cells[0].rTotal), 0);
    EXPECT_EQ(DarkPixels(r.image, Rect(c5.left, c5.top + 40, c5.right, c5.bottom)), 0);
}

TEST(MonthDrawing, CentredNumbersTakeNoTextAndUserTitleReplacesTheTitle) {
    CalendarSettings s = MonthPage();
    s.NumberPosition = TCalendarNumberPosition::cnpCenter;
    int painted = 0;
    CellTextPainter texts{nullptr, [&](Canvas&, int, const Rect&, float) { ++painted; }};
    Rendered r = Render(s, 1.0f, &texts);
    EXPECT_EQ(painted, 0);
    for (const CellInfo& c : r.state.cells) EXPECT_TRUE(c.rFree.isEmpty());
    // A centred number sits in the middle of its cell.
    const Rect c5 = r.state.cells[4].rTotal;
    const int cx = (c5.left + c5.right) / 2, cy = (c5.top + c5.bottom) / 2;
    EXPECT_GT(DarkPixels(r.image, Rect(cx - 10, cy - 12, cx + 10, cy + 12)), 5);

    CalendarSettings titled = MonthPage();
    Rendered plain = Render(titled);
    titled.UserTitle = "X";
    Rendered custom = Render(titled);
    EXPECT_LT(DarkPixels(custom.image, Rect(26, 27, 789, 197)), DarkPixels(plain.image, Rect(26, 27, 789, 197)));
}

TEST(MonthDrawing, CellTextPassFillsFreeRectangles) {
    CalendarSettings s = MonthPage();
    std::set<int> asked, painted;
    CellTextPainter texts{[&](int cell) { asked.insert(cell); return cell == 5 || cell == 40; },
                          [&](Canvas& c, int cell, const Rect& rFree, float zoom) {
                              painted.insert(cell);
                              EXPECT_FLOAT_EQ(zoom, 1.0f);
                              c.FillRect(Rect(0, 0, rFree.width() + 1, rFree.height() + 1), clBlue);
                          }};
    Rendered r = Render(s, 1.0f, &texts);
    EXPECT_EQ(asked.size(), 42u);
    EXPECT_EQ(painted, (std::set<int>{5, 40}));
    const Rect f = r.state.cells[4].rFree;
    EXPECT_EQ(PixelColor(r.image, f.left, f.top), clBlue);
    EXPECT_EQ(PixelColor(r.image, f.right, f.bottom), clBlue);  // the copy is one pixel larger
    EXPECT_NE(PixelColor(r.image, f.left, f.top - 1), clBlue);
}

TEST(MonthDrawing, ZoomScalesGeometryAndMinimumTitle) {
    CalendarSettings s = MonthPage(L::LOFullCalendarLS);
    Rendered r = Render(s, 0.5f);
    EXPECT_EQ(r.image.width(), 528);
    EXPECT_EQ(r.image.height(), 408);
    // Main (26, 26, 1030, 790) at 0.5: (13, 13, 515, 395); title band at least trunc(144 * 0.5).
    EXPECT_EQ(r.state.titleRect.top, 14);
    EXPECT_GE(r.state.dayNameRowRect.top, 14 + 72 + 1);
    EXPECT_EQ(r.state.cells[0].rTotal.left, 13 + 5);
}

TEST(MiniDrawing, MultiMonthPageDrawsMinisAndRecordsNoCells) {
    CalendarSettings s = MonthPage(L::loMC12Month);
    s.MiniCalBGColor = clYellow;
    s.MiniHeadersBGColor = clBlue;
    // A previous month page leaves nothing behind in the cells.
    Rendered r;
    r.s = s;
    r.layout = ArrangeLayout(r.s, true, {}, 96);
    r.state.cells[3].rTotal = Rect(0, 0, 100, 100);
    r.state.cells[3].iDay = 4;
    r.image = PaintToBitmap(r.s, r.layout, 1.0f, r.state, nullptr, 96);
    EXPECT_EQ(CellAtPoint(r.state.cells, 50, 50), 0);
    EXPECT_EQ(CellOfDay(r.state.cells, 4), -1);
    EXPECT_TRUE(r.state.titleRect.isEmpty());

    ASSERT_EQ(r.layout.miniCount, 12);
    for (int i : {0, 5, 11}) {
        const Rect box = r.layout.minis[i].rect;
        EXPECT_EQ(PixelColor(r.image, box.left + 2, box.top + 2), clYellow) << i;
        EXPECT_EQ(PixelColor(r.image, box.left, box.top + 20), clBlack) << i;  // mini frame
        const FontRecord& hf = r.s.MiniHeadersFont;
        const MonthGeometry g = ComputeMonthGeometry(box, 0, std::abs(hf.height));
        EXPECT_EQ(PixelColor(r.image, g.dayNameRow.left + 1, g.dayNameRow.top + 1), clBlue) << i;
        // Day numbers of the mini are drawn (every month has 28 or more).
        EXPECT_GT(DarkPixels(r.image, Rect(box.left + 2, g.E + 2, box.right - 2, box.bottom - 2)), 50) << i;
    }
    // Between minis the page stays white.
    const Rect a = r.layout.minis[0].rect, b = r.layout.minis[1].rect;
    EXPECT_EQ(PixelColor(r.image, (a.right + b.left) / 2, a.top + 10), clWhite);
}

TEST(MiniDrawing, MinisInTitleSitInTheTitleBand) {
    CalendarSettings s = MonthPage(L::loFCMinisInTitle);
    s.MiniCalBGColor = clAqua;
    Rendered r = Render(s);
    const Rect m1 = r.layout.minis[0].rect;
    EXPECT_EQ(PixelColor(r.image, m1.left + 3, m1.top + 3), clAqua);
    EXPECT_LT(m1.bottom, r.state.titleRect.bottom);
    EXPECT_EQ(r.state.cells[4].iDay, 1);  // the main calendar's cells, not the minis'
}

TEST(PlannerDrawing, WeekPlannerFromDayZero) {
    CalendarSettings s = MonthPage(L::loWeek);
    s.MainCalDay = 0;  // the constructor's day: counts as the 1st
    s.HeadersBGColor = clLime;
    Rendered r = Render(s);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(r.state.cells[i].iDay, i + 1);
    EXPECT_EQ(r.state.cells[7].iDay, 0);  // Notes
    EXPECT_FALSE(r.state.cells[7].rFree.isEmpty());
    EXPECT_TRUE(r.state.cells[8].rTotal.isEmpty());
    EXPECT_EQ(CellOfDay(r.state.cells, 8), -1);
    EXPECT_TRUE(r.state.dayNameRowRect.isEmpty());

    const Rect title = r.state.titleRect;
    EXPECT_EQ(title.left, 31);
    EXPECT_EQ(title.top, 27);
    const int bodyTop = title.bottom + 1, rowH = (1029 - bodyTop) / 8, X = 140;
    EXPECT_EQ(r.state.cells[0].rTotal, Rect(X + 4, bodyTop + 4, 785, bodyTop + rowH - 4));
    EXPECT_EQ(PixelColor(r.image, 29, bodyTop + rowH / 2), clLime);      // label column
    EXPECT_EQ(PixelColor(r.image, 400, bodyTop + rowH), clBlack);        // row separator
    EXPECT_EQ(PixelColor(r.image, X, bodyTop + rowH / 2), clBlack);      // column separator
    EXPECT_EQ(PixelColor(r.image, 400, bodyTop + rowH / 2), clWhite);    // cell area
    EXPECT_GT(DarkPixels(r.image, Rect(27, bodyTop + 1, X, bodyTop + rowH)), 20);  // "Thu" / "1 Jan"
    EXPECT_GT(DarkPixels(r.image, title), 50);
}

TEST(PlannerDrawing, TwoWeeksAndDayPlannerRows) {
    CalendarSettings s = MonthPage(L::lo2Week);
    s.MainCalDay = 25;
    s.MainCalMonth = 12;
    Rendered two = Render(s);
    EXPECT_EQ(two.state.cells[0].iDay, 25);
    EXPECT_EQ(two.state.cells[6].iDay, 31);
    EXPECT_EQ(two.state.cells[7].iDay, 1);
    EXPECT_EQ(two.state.cells[13].iDay, 7);
    EXPECT_EQ(two.state.cells[14].iDay, 0);
    EXPECT_EQ(two.state.cells[14].rTotal.bottom, 1029 - 4);

    s.CalendarLayout = L::loDay15;
    Rendered day = Render(s);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(day.state.cells[i].iDay, 0);
        EXPECT_FALSE(day.state.cells[i].rFree.isEmpty());
    }
    EXPECT_TRUE(day.state.cells[16].rTotal.isEmpty());
}

TEST(PlannerTexts, TitlesAndSlots) {
    CalendarSettings s;
    EXPECT_EQ(WeekPlannerTitle(s.MonthNames, {1998, 1, 5}, 7), "January 5-11, 1998");
    EXPECT_EQ(WeekPlannerTitle(s.MonthNames, {1998, 1, 26}, 7), "January 26 - February 1, 1998");
    EXPECT_EQ(WeekPlannerTitle(s.MonthNames, {1998, 12, 25}, 14), "December 25, 1998 - January 7, 1999");
    EXPECT_EQ(DayPlannerTitle(s.MonthNames, s.DayNames, {1998, 1, 5}), "Monday, January 5, 1998");
    EXPECT_TRUE(FormatSlotTime(SlotTime(8.0 / 24, 0)).startsWith("8:00 "));
    EXPECT_TRUE(FormatSlotTime(SlotTime(8.0 / 24, 14)).startsWith("10:00 "));
    EXPECT_NE(FormatSlotTime(SlotTime(8.0 / 24, 0)), FormatSlotTime(SlotTime(8.0 / 24, 12)));
    EXPECT_TRUE(FormatSlotTime(0).startsWith("12:00 "));
    EXPECT_TRUE(FormatSlotTime(SlotTime(-0.5, 0)).startsWith("12:00 "));
    EXPECT_TRUE(FormatSlotTime(SlotTime(23.5 / 24, 1)).startsWith("12:30 "));
    EXPECT_EQ(PlannerLabelDay("5 Jan"), 5);
    EXPECT_EQ(PlannerLabelDay("25 Dec"), 25);
    EXPECT_EQ(PlannerLabelDay(""), 0);
    EXPECT_EQ(PlannerLabelDay("Notes"), 0);
    EXPECT_EQ(AbbreviateDayName("Donnerstag", TCalHeadersStyle::dsFirstChar), "D");
    EXPECT_EQ(AbbreviateDayName("Donnerstag", TCalHeadersStyle::dsThreeChars), "Don");
    EXPECT_EQ(MonthTitle("March", 1998, true), "March 1998");
    EXPECT_EQ(MonthTitle("March", 1998, false), "March");
}

TEST(PlannerDrawing, DamagedDateDoesNotFail) {
    CalendarSettings s = MonthPage(L::loDay10);
    s.MainCalMonth = 99;
    s.MainCalDay = -5;
    s.MainCalYear = 0;
    Rendered r = Render(s);
    EXPECT_FALSE(r.image.isNull());
    s.CalendarLayout = L::loFC6Before6After;
    Rendered m = Render(s);
    EXPECT_FALSE(m.image.isNull());
    // Margins far outside the page draw nothing visible, and draw it quickly.
    s.LeftMarginInch = 90.0f;
    s.BottomMarginInch = -90.0f;
    Rendered far = Render(s);
    EXPECT_FALSE(far.image.isNull());
}

TEST(PrintDrawing, DeviceGeometryInsetNumbersAndCellPictures) {
    CalendarSettings s = MonthPage();
    LayoutResult layout = ArrangeLayout(s, false, {}, 96);
    PageDrawState screen;
    PaintToBitmap(s, layout, 1.0f, screen, nullptr, 96);

    // A device at 192 pixels per inch, drawn into an image of the page's size there.
    QImage device(816 * 2, 1056 * 2, QImage::Format_RGB32);
    device.fill(Qt::white);
    PageDrawState printed;
    int pictures = 0;
    CellTextPainter texts{[](int cell) { return cell == 5; },
                          [&](Canvas& c, int, const Rect& rFree, float) {
                              ++pictures;
                              c.FillRect(rFree, clRed);
                          }};
    {
        QPainter painter(&device);
        Canvas c(&painter);
        PrintTarget target;
        target.devicePpi = 192;
        PrintCalendarPage(c, s, layout, target, screen.cell1Text, printed, &texts, 96);
    }
    EXPECT_EQ(pictures, 1);
    const Rect c5 = printed.cells[4].rTotal;
    EXPECT_EQ(printed.cells[4].iDay, 1);
    EXPECT_EQ(c5.left, 52 + 4 * ((1579 - 52) / 7) + 5);
    // Numbers stop 0.05 in (9 device pixels) inside the right edge.
    EXPECT_EQ(DarkPixels(device, Rect(c5.right - 9, c5.top, c5.right, c5.top + 40)), 0);
    EXPECT_GT(DarkPixels(device, Rect(c5.right - 60, c5.top, c5.right - 9, c5.top + 40)), 5);
    // The cell text picture is stretched into the device rFree.
    const Rect f = printed.cells[4].rFree;
    EXPECT_EQ(PixelColor(device, (f.left + f.right) / 2, (f.top + f.bottom) / 2), clRed);
    EXPECT_EQ(PixelColor(device, f.left + 2, f.top + 2), clRed);
    EXPECT_NE(PixelColor(device, f.left + 2, f.top - 3), clRed);
}

TEST(MonthDrawing, LabelsLandWhereTheCanvasPutsThem) {
    // The screen lays labels out once and places them itself; they must match the canvas's DrawText.
    CalendarSettings s = MonthPage();
    s.NumberPosition = TCalendarNumberPosition::cnpCenter;
    Rendered r = Render(s);
    const CalendarDrawParams p = MainDrawParams(r.s, r.layout, 1.0f, 96);
    const MonthGeometry g = ComputeMonthGeometry(p.rect, p.minTitleHeight, FontPixelHeight(p.headersFont, 96));

    QImage expected(r.image.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        Canvas c(&painter);
        SelectFont(c, p.titleFont, 96);
        c.DrawText("January 1998", g.titleBand, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectFont(c, p.cellFont, 96);
        c.DrawText("17", r.state.cells[4 + 16].rTotal, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    auto same = [&](const Rect& box) {
        int differing = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (r.image.pixel(x, y) != expected.pixel(x, y)) ++differing;
        return differing;
    };
    const Rect band(g.titleBand.left + 1, g.titleBand.top, g.titleBand.right, g.titleBand.bottom);
    EXPECT_GT(DarkPixels(expected, band), 100);
    EXPECT_EQ(same(band), 0);
    EXPECT_EQ(r.state.cells[20].iDay, 17);
    EXPECT_EQ(same(r.state.cells[20].rTotal), 0);
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
