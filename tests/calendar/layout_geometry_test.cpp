#include <gtest/gtest.h>

#include <limits>

#include "calendar/layout_geometry.h"

using namespace plennix;
using L = TCalendarLayout;

namespace {

CalendarSettings Page(L layout, int month = 1, int year = 1998) {
    CalendarSettings s;
    s.CalendarLayout = layout;
    s.MainCalMonth = month;
    s.MainCalYear = year;
    return s;
}

}  // namespace

TEST(PageGeometry, PaperSizesAndContentRectangle) {
    CalendarSettings s = Page(L::loFullCalendar);
    LayoutResult r = ArrangeLayout(s, true, {}, 96);
    EXPECT_EQ(r.width, 816);
    EXPECT_EQ(r.height, 1056);
    EXPECT_EQ(r.contentRect, Rect(26, 26, 790, 1030));
    EXPECT_EQ(r.mainRect, r.contentRect);
    EXPECT_TRUE(r.ShowMain);
    EXPECT_FALSE(r.ShowMinis);
    EXPECT_EQ(s.CalendarOrientation, TCalendarOrientation::coPortrait);

    s.PaperSize = 1;
    r = ArrangeLayout(s, true, {}, 96);
    EXPECT_EQ(r.width, 793);
    EXPECT_EQ(r.height, 1122);

    s.CalendarLayout = L::loMC12MonthLS;
    r = ArrangeLayout(s, true, {}, 96);
    EXPECT_EQ(s.CalendarOrientation, TCalendarOrientation::coLandscape);
    EXPECT_EQ(r.width, 1122);
    EXPECT_EQ(r.height, 793);
    EXPECT_EQ(r.PanelWidth(0.5f), 561);
    EXPECT_EQ(r.PanelHeight(0.5f), 396);
}

TEST(PageGeometry, MarginsAreAddedBeforeConversion) {
    CalendarSettings s = Page(L::loFC6Before6AfterLS);
    LayoutResult r = ArrangeLayout(s, false, {}, 96);
    // px(0.25 + 1.3) = trunc(148.8) = 148, not 24 + 124.
    EXPECT_EQ(r.mainRect, Rect(152, 26, 904, 790));
    EXPECT_EQ(r.miniCount, 12);
    // Left column (26, 26, 148, 790) as 6 x 1: gap 7, boxes 121 high, the last flush with the bottom.
    EXPECT_EQ(r.minis[0].rect, Rect(26, 26, 148, 147));
    EXPECT_EQ(r.minis[4].rect, Rect(26, 538, 148, 659));
    EXPECT_EQ(r.minis[5].rect, Rect(26, 669, 148, 790));
    EXPECT_EQ(r.minis[6].rect.left, 910);
    EXPECT_EQ(r.minis[6].rect.right, 1030);
    // Six before, six after January 1998.
    EXPECT_EQ(r.minis[0].month, 7);
    EXPECT_EQ(r.minis[0].year, 1997);
    EXPECT_EQ(r.minis[5].month, 12);
    EXPECT_EQ(r.minis[6].month, 2);
    EXPECT_EQ(r.minis[6].year, 1998);
    EXPECT_EQ(r.minis[11].month, 7);
}

TEST(PageGeometry, MinisInTitle) {
    CalendarSettings s = Page(L::loFCMinisInTitle);
    LayoutResult r = ArrangeLayout(s, true, {}, 96);
    EXPECT_EQ(r.miniCount, 2);
    EXPECT_EQ(r.minis[0].rect, Rect(38, 38, 158, 158));
    EXPECT_EQ(r.minis[1].rect, Rect(658, 38, 778, 158));
    EXPECT_EQ(r.minis[0].month, 12);
    EXPECT_EQ(r.minis[0].year, 1997);
    EXPECT_EQ(r.minis[1].month, 2);
    EXPECT_EQ(s.MiniTitleFont.size(), 10);
    EXPECT_EQ(s.MiniCellFont.size(), 8);

    s.MainCalMonth = 12;
    r = ArrangeLayout(s, true, r, 96);
    EXPECT_EQ(r.minis[1].month, 1);
    EXPECT_EQ(r.minis[1].year, 1999);
}

TEST(PageGeometry, TwelveAfterPortraitAndLandscape) {
    CalendarSettings s = Page(L::loFC12After, 11);
    LayoutResult r = ArrangeLayout(s, false, {}, 96);
    EXPECT_EQ(r.mainRect, Rect(26, 26, 790, 752));
    // Minis area (26, 766, 790, 1034): 2 x 6, bottom edge 2 pixels inside the margin.
    EXPECT_EQ(r.minis[0].rect, Rect(26, 766, 147, 899));
    EXPECT_EQ(r.minis[5].rect, Rect(669, 766, 790, 899));
    EXPECT_EQ(r.minis[11].rect, Rect(669, 901, 790, 1034));
    EXPECT_EQ(r.minis[0].month, 12);
    EXPECT_EQ(r.minis[1].month, 1);
    EXPECT_EQ(r.minis[1].year, 1999);
    EXPECT_EQ(r.minis[11].month, 11);

    s.CalendarLayout = L::loFC12AfterLS;
    r = ArrangeLayout(s, false, {}, 96);
    EXPECT_EQ(r.mainRect, Rect(26, 26, 1056 - 302 - 2, 790));
    // Right edge of the minis area has no inset: W - px(R) = 1032.
    EXPECT_EQ(r.minis[1].rect.right, 1032);
}

TEST(PageGeometry, MultiMonthGridsAndFonts) {
    CalendarSettings s = Page(L::loMC12MonthLS, 11, 1998);
    LayoutResult r = ArrangeLayout(s, true, {}, 96);
    EXPECT_FALSE(r.ShowMain);
    EXPECT_TRUE(r.ShowMinis);
    EXPECT_EQ(r.miniCount, 12);
    // CR (26, 26, 1030, 790) as 3 x 4: the last column sits flush right, the spare pixels in its gap.
    EXPECT_EQ(r.minis[0].rect, Rect(26, 26, 269, 276));
    EXPECT_EQ(r.minis[2].rect, Rect(532, 26, 775, 276));
    EXPECT_EQ(r.minis[3].rect, Rect(787, 26, 1030, 276));
    EXPECT_EQ(r.minis[11].rect, Rect(787, 540, 1030, 790));
    EXPECT_EQ(r.minis[2].month, 1);
    EXPECT_EQ(r.minis[2].year, 1999);
    EXPECT_EQ(s.MiniTitleFont.size(), 18);
    EXPECT_EQ(s.MiniHeadersFont.size(), 14);

    const int counts[5] = {6, 12, 24, 48, 60};
    const int fonts[5] = {18, 18, 12, 10, 8};
    for (int i = 0; i < 5; ++i) {
        for (int ls = 0; ls < 2; ++ls) {
            s.CalendarLayout = static_cast<L>(8 + 2 * i + ls);
            r = ArrangeLayout(s, true, r, 96);
            EXPECT_EQ(r.miniCount, counts[i]);
            EXPECT_EQ(s.MiniTitleFont.size(), fonts[i]);
            EXPECT_EQ(r.minis[counts[i] - 1].rect.right, r.contentRect.right);
            EXPECT_EQ(r.minis[counts[i] - 1].rect.bottom, r.contentRect.bottom);
        }
    }
    // Without the reset the mini fonts stay.
    s.MiniTitleFont.setSize(30);
    r = ArrangeLayout(s, false, r, 96);
    EXPECT_EQ(s.MiniTitleFont.size(), 30);
}

TEST(PageGeometry, UnchangedEntriesComeFromThePreviousLayout) {
    CalendarSettings s = Page(L::loFC6Before6After);
    LayoutResult first = ArrangeLayout(s, false, {}, 96);
    s.CalendarLayout = L::lopMC6Month;
    LayoutResult multi = ArrangeLayout(s, false, first, 96);
    EXPECT_EQ(multi.mainRect, first.mainRect);
    s.CalendarLayout = L::loFullCalendar;
    LayoutResult full = ArrangeLayout(s, false, multi, 96);
    EXPECT_EQ(full.miniCount, 6);
    EXPECT_FALSE(full.ShowMinis);
    s.CalendarLayout = L::loDay10;
    LayoutResult day = ArrangeLayout(s, false, full, 96);
    EXPECT_TRUE(day.IsPlanner);
    EXPECT_EQ(day.mainRect, day.contentRect);
    EXPECT_EQ(s.CalendarOrientation, TCalendarOrientation::coPortrait);
}

TEST(PageGeometry, FamiliesAndDayCells) {
    EXPECT_EQ(LayoutFamily(L::LOFullCalendarLS), 0);
    EXPECT_EQ(LayoutFamily(L::loFC12AfterLS), 0);
    EXPECT_EQ(LayoutFamily(L::lopMC6Month), 1);
    EXPECT_EQ(LayoutFamily(L::loMC60MonthLS), 1);
    EXPECT_EQ(LayoutFamily(L::loWeek), 2);
    EXPECT_EQ(LayoutFamily(L::lo2Week), 3);
    EXPECT_EQ(LayoutFamily(L::loDay10), 4);
    EXPECT_EQ(LayoutFamily(L::loDay15), 5);
    EXPECT_TRUE(HasDayCells(L::loDay15, true));
    EXPECT_FALSE(HasDayCells(L::loDay15, false));
    EXPECT_FALSE(HasDayCells(L::loMC24Month, true));
    EXPECT_EQ(PlannerRowCount(L::loDay15), 16);
    EXPECT_EQ(PlannerRowCount(L::lo2Week), 15);
}

TEST(MonthGeometry, TitleBandRowsAndCells) {
    const MonthGeometry g = ComputeMonthGeometry(Rect(26, 26, 790, 1030), 144, 21);
    EXPECT_EQ(g.titleRect, Rect(26, 27, 789, 197));
    EXPECT_EQ(g.titleBand, g.titleRect);
    EXPECT_EQ(g.colW, 109);
    EXPECT_EQ(g.dayNameRow, Rect(26, 198, 789, 229));
    EXPECT_EQ(g.E, 229);
    EXPECT_EQ(g.F, 1029);
    EXPECT_EQ(g.rowH, 133);
    EXPECT_EQ(g.NameBox(1), Rect(136, 198, 243, 229));
    EXPECT_EQ(g.CellRect(1, true), Rect(31, 230, 129, 361));
    EXPECT_EQ(g.CellRect(1, false), Rect(27, 230, 134, 361));
    EXPECT_EQ(g.CellRect(42, false), Rect(681, 895, 788, 1026));

    // Landscape letter: 0.17 of the height is under 1.5 in, so the band grows; the click rectangle not.
    const MonthGeometry l = ComputeMonthGeometry(Rect(26, 26, 1030, 790), 144, 21);
    EXPECT_EQ(l.titleRect.bottom, 27 + 129);
    EXPECT_EQ(l.titleBand.bottom, 27 + 144);
    EXPECT_EQ(l.dayNameRow.top, 172);
    // Minis have no minimum.
    EXPECT_EQ(ComputeMonthGeometry(Rect(0, 0, 100, 101), 0, 11).titleBand.bottom, 1 + 17);
}

TEST(PlannerGeometry, RowsLabelsAndCells) {
    const PlannerGeometry g = ComputePlannerGeometry(Rect(26, 26, 790, 1030), 8, 40);
    EXPECT_EQ(g.title, Rect(31, 27, 784, 67));
    EXPECT_EQ(g.body, Rect(26, 68, 789, 1029));
    EXPECT_EQ(g.rowH, 120);
    EXPECT_EQ(g.X, 140);
    EXPECT_EQ(g.labelColumn, Rect(27, 69, 140, 1028));
    EXPECT_EQ(g.UpperLabel(1), Rect(27, 189, 140, 249));
    EXPECT_EQ(g.LowerLabel(1), Rect(27, 249, 140, 309));
    EXPECT_EQ(g.CellRect(0), Rect(144, 72, 785, 184));
    EXPECT_EQ(g.CellRect(7), Rect(144, 912, 785, 1025));
}

TEST(CellDates, MonthPageNumbering) {
    // February 1998 began on a Sunday.
    EXPECT_EQ(FirstDayPosition(2, 1998, 1), 1);
    EXPECT_EQ(MonthCellDay(1, 2, 1998, 1), 1);
    EXPECT_EQ(FirstDayPosition(2, 1998, 2), 7);
    EXPECT_EQ(MonthCellDay(7, 2, 1998, 2), 1);
    EXPECT_EQ(MonthCellDay(6, 2, 1998, 2), 0);
    // August 1998: 31 days from a Saturday fill cells 7..37.
    EXPECT_EQ(MonthCellDay(6, 8, 1998, 1), 0);
    EXPECT_EQ(MonthCellDay(7, 8, 1998, 1), 1);
    EXPECT_EQ(MonthCellDay(37, 8, 1998, 1), 31);
    EXPECT_EQ(MonthCellDay(38, 8, 1998, 1), 0);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DayOfWeek(1998, 1, 5), 2);  // a Monday
    EXPECT_EQ(DayOfWeek(1600, 3, 1), 4);  // a Wednesday
    EXPECT_EQ(AddDays({1998, 12, 25}, 13), (CalDate{1999, 1, 7}));
    EXPECT_EQ(AddDays({2000, 3, 1}, -1), (CalDate{2000, 2, 29}));
    EXPECT_EQ(AddMonths(1, 1998, -6).month, 7);
    EXPECT_EQ(AddMonths(1, 1998, -6).year, 1997);
    // Months from a damaged file are brought into range rather than indexing past the names.
    EXPECT_EQ(SafeMonth(14, 1998), (CalDate{1999, 2, 1}));
    EXPECT_EQ(SafeMonth(1, 0).year, 1);
}

TEST(CellDates, PlannerStartCountsDayZeroAsTheFirst) {
    CalendarSettings s;  // MainCalDay 0 from the constructor
    s.MainCalMonth = 2;
    s.MainCalYear = 1998;
    EXPECT_EQ(PlannerStartDate(s), (CalDate{1998, 2, 1}));
    s.MainCalDay = 31;
    EXPECT_EQ(PlannerStartDate(s), (CalDate{1998, 2, 28}));
}

TEST(CellLookups, CellOfDayAndCellAtPoint) {
    CellInfoArray cells{};
    for (int k = 1; k <= kCellCount; ++k) {
        cells[k - 1].iDay = MonthCellDay(k, 4, 1998, 1);  // April 1998: 30 days from a Wednesday
        cells[k - 1].rTotal = Rect((k - 1) % 7 * 10, (k - 1) / 7 * 10, (k - 1) % 7 * 10 + 9, (k - 1) / 7 * 10 + 9);
    }
    EXPECT_EQ(CellOfDay(cells, 1), 4);
    EXPECT_EQ(CellOfDay(cells, 30), 33);
    EXPECT_EQ(CellOfDay(cells, 31), -1);
    EXPECT_EQ(CellOfDay(cells, 0), 1);
    EXPECT_EQ(CellAtPoint(cells, 0, 0), 1);
    EXPECT_EQ(CellAtPoint(cells, 15, 25), 16);
    // Right and bottom edges lie outside a cell, like the gaps between cells.
    EXPECT_EQ(CellAtPoint(cells, 9, 5), 0);
    EXPECT_FALSE(PointInCell(cells, 5, 69));
    EXPECT_TRUE(PointInCell(cells, 65, 55));
}

TEST(PageGeometry, ZoomTruncatesEachCoordinate) {
    EXPECT_EQ(ZoomRect(Rect(26, 27, 789, 1029), 0.5f), Rect(13, 13, 394, 514));
    EXPECT_EQ(ZoomRect(Rect(10, 10, 20, 20), 0.59999990f), Rect(5, 5, 11, 11));
    EXPECT_EQ(InchToPixels(0.25 + 1.3, 96), 148);
    EXPECT_EQ(InchToPixels(1.5, 120), 180);
}

TEST(PageGeometry, DamagedMarginsStayWithinBounds) {
    CalendarSettings s;
    s.CalendarLayout = L::loFC6Before6After;
    s.LeftMarginInch = 2.0e7f;
    s.TopMarginInch = -3.0e38f;
    s.RightMarginInch = std::numeric_limits<float>::quiet_NaN();
    LayoutResult r = ArrangeLayout(s, true, {}, 96);
    EXPECT_EQ(r.contentRect.left, 9602);
    EXPECT_EQ(r.contentRect.top, -9598);
    EXPECT_EQ(r.contentRect.right, 816 + 9600 - 2);
    // Minis and main calendar of such a page are still laid out without overflow.
    EXPECT_LT(r.minis[11].rect.right, 100000);
    EXPECT_GT(r.mainRect.top, -100000);
}
