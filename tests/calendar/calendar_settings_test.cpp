#include <gtest/gtest.h>

#include "calendar/calendar_settings.h"
#include "platform/locale_names.h"

using namespace plennix;
using enum TCalBorderStyle;

TEST(CalendarSettings, ConstructorValues) {
    CalendarSettings s;
    EXPECT_EQ(s.CalendarLayout, TCalendarLayout::loFullCalendar);
    EXPECT_EQ(s.MainCalDay, 0);
    EXPECT_EQ(s.MainCalMonth, 1);
    EXPECT_EQ(s.MainCalYear, 1997);
    EXPECT_FLOAT_EQ(s.LeftMarginInch, 0.25f);
    EXPECT_EQ(s.TitleFont.name, "Times New Roman");
    EXPECT_EQ(s.TitleFont.size(), 26);
    EXPECT_EQ(s.TitleFont.style, fsBold);
    EXPECT_EQ(s.MiniHeadersFont.size(), 8);
    EXPECT_EQ(s.MiniHeadersFont.color, clWhite);
    EXPECT_EQ(s.MiniCellFont.style, 0);
    // The mini line layout is only a field: the borders are not those of mllFull.
    EXPECT_EQ(s.MiniCalendarLineLayout, TMiniCalendarLineLayout::mllFull);
    EXPECT_EQ(s.MiniCalBorder, cbAll);
    EXPECT_EQ(s.MiniHeadersBorder, cbBottom);
    EXPECT_EQ(s.MiniCellBorder, cbNone);
    EXPECT_EQ(s.MonthName(3), LongMonthName(3));
    EXPECT_EQ(s.DayName(1), LongDayName(1));
}

TEST(CalendarSettings, NamesOutsideTheirRangeAreIgnored) {
    CalendarSettings s;
    s.SetMonthName(3, "März");
    s.SetMonthName(0, "x");
    s.SetMonthName(13, "x");
    s.SetDayName(8, "x");
    EXPECT_EQ(s.MonthName(3), "März");
    EXPECT_EQ(s.MonthName(13, "keep"), "keep");
    EXPECT_EQ(s.DayName(0, "keep"), "keep");
    for (const QString& n : s.MonthNames) EXPECT_NE(n, "x");
}

TEST(CalendarSettings, LinePresetsOverwriteBordersOnlyOnChange) {
    CalendarSettings s;
    s.CellBorder = cbBottom;
    EXPECT_FALSE(s.SetCalendarLineLayout(TCalendarLineLayout::llFull));
    EXPECT_EQ(s.CellBorder, cbBottom);

    EXPECT_TRUE(s.SetCalendarLineLayout(TCalendarLineLayout::llHeadersAndCells));
    EXPECT_EQ(s.CalendarBorder, cbNone);
    EXPECT_EQ(s.HeadersBorder, cbAll);
    EXPECT_EQ(s.CellBorder, cbAll);
    EXPECT_TRUE(s.SetCalendarLineLayout(TCalendarLineLayout::llCellsOnly));
    EXPECT_EQ(s.HeadersBorder, cbNone);

    EXPECT_TRUE(s.SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllBoxed));
    EXPECT_EQ(s.MiniCalBorder, cbAll);
    EXPECT_EQ(s.MiniCellBorder, cbNone);
    EXPECT_EQ(s.MiniHeadersBorder, cbTopBottom);
    EXPECT_TRUE(s.SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllMinimal));
    EXPECT_EQ(s.MiniCalBorder, cbNone);
    EXPECT_EQ(s.MiniHeadersBorder, cbTop);
    EXPECT_TRUE(s.SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllFull));
    EXPECT_EQ(s.MiniCellBorder, cbAll);
}

TEST(CalendarSettings, ResetToDefaultsKeepsFontsAndIndividualSettings) {
    CalendarSettings s;
    s.TitleFont.name = "Arial";
    s.HeadersStyle = TCalHeadersStyle::dsFirstChar;
    s.NumberPosition = TCalendarNumberPosition::cnpCenter;
    s.CellBorder = cbTop;  // llFull stays, so this survives
    s.UserTitle = "Mine";
    s.SetMonthName(1, "Jan!");
    s.MiniHeadersStyle = TCalHeadersStyle::dsWhole;
    s.ResetToDefaults(QDate(2003, 4, 17));

    EXPECT_EQ(s.CalendarLayout, TCalendarLayout::loFCMinisInTitleLS);
    EXPECT_EQ(s.MainCalDay, 17);
    EXPECT_EQ(s.MainCalMonth, 4);
    EXPECT_EQ(s.MainCalYear, 2003);
    EXPECT_FLOAT_EQ(s.TopMarginInch, 0.5f);
    EXPECT_TRUE(s.UserTitle.isEmpty());
    EXPECT_EQ(s.MonthName(1), LongMonthName(1));
    EXPECT_EQ(s.MiniHeadersStyle, TCalHeadersStyle::dsFirstChar);
    EXPECT_EQ(s.MiniHeadersFont.color, clBlack);
    EXPECT_EQ(s.TitleFont.name, "Arial");
    EXPECT_EQ(s.HeadersStyle, TCalHeadersStyle::dsFirstChar);
    EXPECT_EQ(s.NumberPosition, TCalendarNumberPosition::cnpCenter);
    EXPECT_EQ(s.CellBorder, cbTop);
    // mllFull -> mllBoxed is a change, so the mini borders follow the preset.
    EXPECT_EQ(s.MiniCalendarLineLayout, TMiniCalendarLineLayout::mllBoxed);
    EXPECT_EQ(s.MiniHeadersBorder, cbTopBottom);
}

TEST(CalendarSettings, AssignStyleCopiesStyleButNotNumberPositionOrBorders) {
    CalendarSettings src;
    src.CalendarLayout = TCalendarLayout::loWeek;
    src.PaperSize = 1;
    src.StartOfWeek = 2;
    src.MainCalDay = 9;
    src.MainCalMonth = 7;
    src.MainCalYear = 2001;
    src.SetDayName(2, "Montag");
    src.TitleBGColor = clRed;
    src.HeadersFont.name = "Arial";
    src.RightMarginInch = 1.25f;
    src.DayStartTime = 9.0 / 24;
    src.UserTitle = "Title";
    src.NumberPosition = TCalendarNumberPosition::cnpCenter;
    src.CalendarLineLayout = TCalendarLineLayout::llCellsOnly;  // field only: borders still all cbAll
    src.HeadersBorder = cbTopBottom;

    CalendarSettings dst;
    EXPECT_FALSE(dst.SameStyle(src));
    dst.AssignStyle(src);
    EXPECT_TRUE(dst.SameStyle(src));
    EXPECT_EQ(dst.CalendarLayout, TCalendarLayout::loWeek);
    EXPECT_EQ(dst.DayName(2), "Montag");
    EXPECT_EQ(dst.MainCalDay, 9);
    EXPECT_EQ(dst.UserTitle, "Title");
    EXPECT_EQ(dst.NumberPosition, TCalendarNumberPosition::cnpUpperRight);
    // The preset runs through its setter on the destination: llFull -> llCellsOnly.
    EXPECT_EQ(dst.CalendarLineLayout, TCalendarLineLayout::llCellsOnly);
    EXPECT_EQ(dst.CalendarBorder, cbNone);
    EXPECT_EQ(dst.HeadersBorder, cbNone);
}

TEST(CalendarSettings, SameStyleIgnoresFontSizesButNotFontLook) {
    CalendarSettings a, b;
    EXPECT_TRUE(a.SameStyle(b));
    b.CellFont.setSize(40);
    b.CellBorder = cbNone;
    b.NumberPosition = TCalendarNumberPosition::cnpCenter;
    EXPECT_TRUE(a.SameStyle(b));
    b.CellFont.color = clRed;
    EXPECT_FALSE(a.SameStyle(b));
    b = a;
    b.MiniTitleFont.style = fsItalic;
    EXPECT_FALSE(a.SameStyle(b));
    b = a;
    b.MiniCalBGColor = clYellow;
    EXPECT_FALSE(a.SameStyle(b));
    b = a;
    b.BottomMarginInch = 0.3f;
    EXPECT_FALSE(a.SameStyle(b));
    b = a;
    b.MiniCalendarLineLayout = TMiniCalendarLineLayout::mllMinimal;
    EXPECT_FALSE(a.SameStyle(b));
}

TEST(CalendarSettings, StoredInstances) {
    CalendarSettings page, preview;
    ApplyStoredPageSettings(page, StoredPageKind::DocumentPage);
    ApplyStoredPageSettings(preview, StoredPageKind::PreviewPage);
    EXPECT_EQ(page.CalendarLayout, TCalendarLayout::loFCMinisInTitleLS);
    EXPECT_EQ(page.MainCalMonth, 12);
    EXPECT_EQ(page.HeadersStyle, TCalHeadersStyle::dsWhole);
    EXPECT_EQ(page.MiniCellBorder, cbAll);
    EXPECT_EQ(page.MiniHeadersBGColor, clBlack);
    EXPECT_EQ(page.TitleFont.height, -35);
    EXPECT_EQ(preview.TitleFont.height, -64);
    EXPECT_EQ(page.CellFont.height, -21);
    EXPECT_EQ(page.MiniTitleFont.height, -13);
    EXPECT_EQ(page.MiniCellFont.height, -11);
    EXPECT_EQ(page.TitleFont.color, clBlack);
    EXPECT_EQ(page.MiniHeadersFont.color, clWhite);
    EXPECT_EQ(page.MiniTitleFont.color, clWindowText);
}
